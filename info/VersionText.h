#pragma once

#include <QString>

// "Version " followed by major.minor.revision of the program's file version,
// the text the splash and About windows show.
QString VersionText();
QString VersionText(int major, int minor, int revision);
