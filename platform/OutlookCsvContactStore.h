#pragma once

#include "platform/ContactStore.h"

// One file of Outlook's contact export, chosen by the user, as the contacts
// folder. The file is read and its first record checked when the source
// starts, so that a file that is no such export is refused before anything
// else happens; the contacts are read when the folder's items are asked for.
ContactApplicationRef CreateOutlookCsvApplication(const QString& csvFile);
