#pragma once

#include <QList>
#include <QStringList>

// Where Thunderbird keeps the address books of the profile in use.

// The Thunderbird homes below the user's home: the usual one and those of
// the Snap and Flatpak packages.
QStringList ThunderbirdRoots();

// The profile folders the installations of one home use: the defaults of
// installs.ini, else the [Install...] defaults of profiles.ini, else the
// profile marked Default=1, else the only profile there is. A first start
// may leave an empty profile marked Default=1 beside the one in use, so
// the marks of the installations come first.
QStringList ThunderbirdProfilesInUse(const QString& root);

struct ThunderbirdBook
{
    QString name;
    QString file;
};

// The local and CardDAV address books of a profile as its prefs.js names
// them, the personal one first and in the user's order after it. Remote
// directories (LDAP) and the addresses Thunderbird collects on its own
// ("Gesammelte Adressen") are left out.
QList<ThunderbirdBook> ThunderbirdBooksOf(const QString& profile);
