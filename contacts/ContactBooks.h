#pragma once

#include "contacts/BookContents.h"
#include "contacts/ContactStore.h"

#include <vector>

// The contact store over the user's address books. Each place contacts come
// from (the vCard folder, Evolution, Thunderbird, one chosen file) is a
// reader in a file of its own that finds its books and turns each into
// contacts; this layer reads them all into the one contacts folder the
// import enumerates, and reports the books it had to leave out.

// The contacts folder over the books, in their order. Items() reads every
// book; a contact whose UID an earlier one had is left out, and so is a
// book that fails, named in SkippedBooksReport(). Only when no book can be
// read at all does Items() fail.
ContactApplicationRef CreateBookApplication(std::vector<ContactBook> books);

// The German message that names each skipped book and why.
QString SkippedBooksMessage(const std::vector<SkippedBook>& skipped);
