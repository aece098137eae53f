#pragma once

#include "contacts/BookContents.h"

#include <QLatin1String>
#include <QStandardPaths>
#include <QString>

// What Evolution (GNOME's address book service) keeps of its books: its
// folders, the source file that names each book, and the vCard text its
// databases keep of each contact.

// The built-in personal book's source, which has no source file unless the
// user's own overrides it.
inline const QLatin1String EvolutionPersonalSource("system-address-book");

// $XDG_DATA_HOME/evolution, $XDG_CONFIG_HOME/evolution or
// $XDG_CACHE_HOME/evolution.
QString EvolutionFolder(QStandardPaths::StandardLocation location);

// What a book's source file ($XDG_CONFIG_HOME/evolution/sources/<uid>.source)
// says of it.
struct EvolutionSource
{
    bool addressBook = false; // no source file, or one of another kind (mail, calendar)
    bool enabled = false;
    QString backend; // "local", "carddav", "google", "ews", "ldap", ...
    QString name;    // the German display name where there is one, else the display name, else the UID
};
EvolutionSource ReadEvolutionSource(const QString& uid);

// The contacts of an Evolution database: `statement` selects the UID and
// the vCard text of each contact. The texts are taken out in one short
// read-only transaction and parsed afterwards; rows without a vCard are
// counted and reported as left out.
BookContents ReadEvolutionVCards(const QString& name, const QString& file, const QString& statement);
