#include "platform/OutlookCsvContactStore.h"

#include "model/Failure.h"
#include "platform/csv/OutlookCsvContacts.h"

#include "platform/FileSystem.h"

#include <QFileInfo>

#include <memory>

namespace {

// The file's bytes as they are mapped into memory, and the export read
// from them.
struct CsvFile
{
    CsvFile(const QString& path, std::unique_ptr<FileContent> file)
        : content(std::move(file)), contacts(content->Bytes(), path)
    {
    }

    std::unique_ptr<FileContent> content;
    OutlookCsvContacts contacts;
};

std::unique_ptr<FileContent> Content(const QString& csvFile)
{
    if (!QFileInfo(csvFile).isFile())
        throw Failure(QStringLiteral("Die CSV-Datei \u201E%1\u201C wurde nicht gefunden.").arg(csvFile));
    // A file that cannot be read is reported with the system's reason, in
    // German, as an open of a document is.
    return std::make_unique<FileContent>(csvFile);
}

}

ContactBook OutlookCsvBook(const QString& csvFile)
{
    const auto file = std::make_shared<CsvFile>(csvFile, Content(csvFile));
    return {QFileInfo(csvFile).fileName(), csvFile, [file] {
                BookContents contents;
                contents.contacts = file->contacts.Read(contents.texts);
                return contents;
            }};
}
