#pragma once

#include <QString>

// Reports the failure that is being handled: a modal message box with the
// failure's description as its text, "Fehler in <object>.<procedure>" as
// its title, the critical icon and an OK button. Call it inside a catch block.
void ShowError(const QString& objectName, const QString& procedureName);
