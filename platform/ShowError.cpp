#include "platform/ShowError.h"

#include "platform/Failure.h"
#include "platform/Prompt.h"

#include <QApplication>

void ShowError(const QString& objectName, const QString& procedureName)
{
    const QString description = CurrentFailureDescription();
    const QString title = QStringLiteral("Fehler in ") + objectName + QLatin1Char('.') + procedureName;
    CurrentPrompt().MsgBox(QApplication::activeWindow(), description, title, Prompt::Icon::Critical);
}
