#pragma once

#include "platform/ContactStore.h"

#include <QStringList>

// The contact source on Linux: vCard files. The default contacts folder is
// the user's address book, every *.vcf file below AddressBookFolder() (a
// vdir as vdirsyncer and khard keep it, or exported files dropped there);
// given a file, that one file is the contacts folder.

QString AddressBookFolder();

// Fails when the address book folder, or the given file, does not exist.
ContactApplicationRef CreateVCardApplication(const QString& vcardFile);

// The *.vcf files below a folder, in a stable order.
QStringList VCardFilesBelow(const QString& folder);
