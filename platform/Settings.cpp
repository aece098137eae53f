#include "platform/Settings.h"

#include <QSettings>

namespace {

QString PathOf(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

}

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings store(appName, appName);
    return store.value(PathOf(section, key), defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QSettings store(appName, appName);
    store.setValue(PathOf(section, key), value);
}
