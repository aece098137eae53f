#pragma once

#include "contacts/BookContents.h"

// Evolution's copies of server address books (CardDAV, Google, Exchange,
// WebDAV, ...), as GNOME's online accounts or Evolution set them up: every
// enabled one whose cache Evolution keeps below
// $XDG_CACHE_HOME/evolution/addressbook, named by its source file, read
// from the vCard text that cache keeps of each contact as of the last sync.
FoundBooks FindEvolutionServerBooks();
