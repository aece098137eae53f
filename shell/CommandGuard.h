#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs a command of the main window. A failure that no operation inside it
// handled ends the command here: it is shown in a message box titled
// "Fehler in <object>.<command>", and the program and its windows stay up.
void RunCommand(const QString& objectName, const QString& commandName, const std::function<void()>& command);
