#pragma once

#include "contacts/BookContents.h"

// Evolution's address books (GNOME): every enabled local book below
// $XDG_DATA_HOME/evolution/addressbook, named by its source file in
// $XDG_CONFIG_HOME/evolution/sources, read from the vCard text its
// contacts.db keeps of each contact.
FoundBooks FindEvolutionBooks();
