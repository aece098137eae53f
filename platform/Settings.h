#pragma once

#include <QString>

// The per-user application settings store: text values addressed by
// application name, section and key, kept between runs.
QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
