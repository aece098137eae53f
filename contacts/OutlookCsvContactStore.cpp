#include "contacts/OutlookCsvContactStore.h"

#include "contacts/csv/OutlookCsvContacts.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QFileInfo>

#include <memory>

namespace {

// An export's contacts, records and tree take about four times its file's
// size and 720 bytes a contact (bench_read_memory).
constexpr FileLimits CsvLimits{-1, 4, 720};

// The file's bytes as they are mapped into memory, and the export read
// from them.
struct CsvFile
{
    CsvFile(const QString& path, std::unique_ptr<FileContent> file)
        : content(std::move(file)), contacts(Header(*content, path))
    {
    }

    // What another program's cut leaves is zeros, which may read as a
    // record of no export.
    static OutlookCsvContacts Header(const FileContent& content, const QString& path)
    {
        try {
            return OutlookCsvContacts(content.Bytes(), path);
        } catch (const Failure&) {
            content.ThrowIfCutShort();
            throw;
        }
    }

    std::unique_ptr<FileContent> content;
    OutlookCsvContacts contacts;
};

}

ContactBook OutlookCsvBook(const QString& csvFile)
{
    const auto file = std::make_shared<CsvFile>(csvFile, std::make_unique<FileContent>(csvFile, CsvLimits));
    return {QFileInfo(csvFile).fileName(), csvFile, [file] {
                BookContents contents;
                contents.contacts = file->contacts.Read(contents.texts);
                // Contacts read up to a cut are only a part of the file's.
                file->content->ThrowIfCutShort();
                return contents;
            }};
}
