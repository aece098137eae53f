#include "contacts/OutlookCsvContactStore.h"

#include "contacts/csv/OutlookCsvContacts.h"
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

}

ContactBook OutlookCsvBook(const QString& csvFile)
{
    const auto file = std::make_shared<CsvFile>(csvFile, std::make_unique<FileContent>(csvFile));
    return {QFileInfo(csvFile).fileName(), csvFile, [file] {
                BookContents contents;
                contents.contacts = file->contacts.Read(contents.texts);
                return contents;
            }};
}
