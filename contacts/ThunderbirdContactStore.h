#pragma once

#include "contacts/BookContents.h"

// Thunderbird's address books: the local and CardDAV books of the profile
// in use (see books/ThunderbirdProfiles.h), each read from a private copy
// of its database, since Thunderbird holds it locked while it runs.
FoundBooks FindThunderbirdBooks();
