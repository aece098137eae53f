#pragma once

#include "platform/ContactFields.h"
#include "platform/ContactStore.h"

#include <functional>
#include <vector>

// A contact source that reads all its contacts into memory at once, when
// the folder's items are asked for; the sources that read files are built
// on it. The items sort by a text property in the collation of the user's
// language, ignoring case, and keep their read order among equal names.

using ContactReader = std::function<std::vector<ContactFields>()>;

// The application object, its "MAPI" namespace and its default contacts
// folder over the reader, which may throw a Failure.
ContactApplicationRef CreateContactListApplication(ContactReader readContacts);
