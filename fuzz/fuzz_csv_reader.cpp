// Feeds arbitrary bytes to the CSV reader and to the reading of Outlook's
// export. The records, written again with every field quoted, must read
// back field for field with the same separator.
#include "contacts/csv/CsvReader.h"
#include "contacts/csv/OutlookCsvContacts.h"
#include "platform/Failure.h"

#include <QByteArrayList>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<QByteArrayList> ReadRecords(const QByteArray& bytes, char& separator)
{
    CsvReader reader(bytes);
    separator = reader.Separator();
    std::vector<QByteArrayList> records;
    while (reader.Next()) {
        QByteArrayList fields;
        for (qsizetype i = 0; i < reader.FieldCount(); ++i) {
            fields << reader.FieldBytes(i).toByteArray();
            reader.Field(i);
        }
        records.push_back(fields);
    }
    return records;
}

QByteArray Written(const std::vector<QByteArrayList>& records, char separator)
{
    QByteArray out;
    for (const QByteArrayList& fields : records) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += separator;
            out += '"' + QByteArray(fields[i]).replace('"', "\"\"") + '"';
        }
        out += "\r\n";
    }
    return out;
}

[[noreturn]] void Fail(const char* what, const QByteArray& bytes)
{
    std::fprintf(stderr, "%s\n--- written again ---\n%s\n", what, bytes.constData());
    std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    char separator = ',';
    const std::vector<QByteArrayList> records = ReadRecords(bytes, separator);
    const QByteArray written = Written(records, separator);
    char separatorAgain = ',';
    if (ReadRecords(written, separatorAgain) != records)
        Fail("written again, the records changed", written);
    if (!records.empty() && separatorAgain != separator)
        Fail("written again, the separator changed", written);

    try {
        OutlookCsvContacts contacts(bytes, QStringLiteral("fuzz.csv"));
        PackedTexts texts;
        contacts.Read(texts);
    } catch (const Failure&) {
    }
    return 0;
}
