#include "shell/CommandGuard.h"

#include "platform/MousePointer.h"
#include "platform/ShowError.h"

void RunCommand(const QString& objectName, const QString& commandName, const std::function<void()>& command)
{
    try {
        command();
    } catch (...) {
        // A long operation that failed half-way must not leave the hourglass behind.
        SetMousePointer(MousePointer::Default);
        ShowError(objectName, commandName);
    }
}
