#pragma once

#include "contacts/BookContents.h"

// One file of Outlook's contact export, chosen by the user, as a book. The
// file is read and its first record checked when the book is made, so that
// a file that is no such export is refused before anything else happens;
// the contacts are read when the book is.
ContactBook OutlookCsvBook(const QString& csvFile);
