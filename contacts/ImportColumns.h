#pragma once

#include "contacts/ContactStore.h"
#include "model/ColumnValue.h"
#include "model/clsDictionary.h"
#include "model/DictionaryKeys.h"

#include <memory>

// How a contact becomes an address record: which of its properties fills
// which of the twenty columns.

// The column keys of an imported address, "Node" first, in one table the
// addresses of an import share, so that each names its columns by their
// places.
std::shared_ptr<ColumnKeyTable> ImportedAddressKeys();

// Adds the columns after "Node" to an address whose key table is
// ImportedAddressKeys() and which holds its "Node" already.
void AddImportedColumns(const ContactItem& item, clsDictionary<ColumnValue>& spalten);
