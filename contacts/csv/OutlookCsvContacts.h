#pragma once

#include "contacts/ContactFields.h"
#include "contacts/csv/CsvReader.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

// The contacts in a file of Outlook's contact export ("Kommagetrennte
// Werte"), in any of its languages and versions, and in the files of the
// programs that write its columns (the new Outlook, Outlook.com, Google
// Contacts). Columns are found by their names in the first record, never by
// their position; values are taken as they stand.
class OutlookCsvContacts
{
public:
    // Reads the first record of the bytes, which must outlive the object. A
    // file whose first record names none of Outlook's address, phone or
    // e-mail columns is not an export of Outlook's: it is refused with a
    // Failure that names fileName.
    OutlookCsvContacts(QByteArrayView bytes, const QString& fileName);
    OutlookCsvContacts(const OutlookCsvContacts&) = delete;
    OutlookCsvContacts& operator=(const OutlookCsvContacts&) = delete;

    // The contacts of the records after the first, in file order, their
    // texts kept in texts; a record without any value is left out. Reads the
    // records once.
    std::vector<PackedContact> Read(PackedTexts& texts);

private:
    CsvReader m_reader;
    // The field of each column the import reads; -1 where the file has none.
    std::vector<qsizetype> m_fieldOfColumn;
};
