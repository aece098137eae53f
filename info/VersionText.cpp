#include "info/VersionText.h"

#include "Version.h"

QString VersionText()
{
    return VersionText(Version::Major, Version::Minor, Version::Revision);
}

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}
