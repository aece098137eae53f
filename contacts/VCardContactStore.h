#pragma once

#include "contacts/BookContents.h"

// vCard files as address books: the vCard folder, every *.vcf file below
// AddressBookFolder() (a vdir as vdirsyncer and khard keep it, or exported
// files dropped there), and one file the user chose.

QString AddressBookFolder();

// The vCard folder as one book, when it exists. Folders linked into it are
// read too, each once; a file that cannot be read is left out and named.
FoundBooks FindVCardFolder();

// One chosen vCard file as a book; fails when there is no such file.
ContactBook VCardFileBook(const QString& file);
