#pragma once

#include "platform/Registry.h"

#include <QString>

class QWidget;

// Reads the value SubKeyRef of the key KeyName below KeyRoot as text into
// KeyVal: a string without its terminating zero, a 32-bit number as signed
// decimal; a value of any other type leaves KeyVal as it was. False, with
// KeyVal empty, when the key cannot be opened or the value not read (also
// when it does not fit in 1024 bytes). A string that fills all 1024 bytes
// without a terminating zero throws a Failure.
bool GetKeyValue(Registry::HKEY KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

// Starts the system-information program named in the registry, or tells the
// user that there is none. Never throws.
void StartSysInfo(QWidget* parent);
