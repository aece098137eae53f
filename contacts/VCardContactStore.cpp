#include "contacts/VCardContactStore.h"

#include "contacts/vcard/VCardContact.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace {

// Cards, their contacts, records and tree take about their text's size and
// 420 bytes a line of it (bench_read_memory); no one file of the folder may
// be larger than 256 MB.
constexpr FileLimits VCardLimits{-1, 1, 420};
constexpr FileLimits FolderFileLimits{qint64(256) << 20, VCardLimits.memoryFactor, VCardLimits.memoryPerLine};

void AppendFileCards(const FileContent& file, BookContents& contents)
{
    const QByteArrayView bytes = file.Bytes();
    AppendCardsOfFile(QByteArray::fromRawData(bytes.data(), bytes.size()), contents);
    // Cards read up to a cut are only a part of the file's.
    file.ThrowIfCutShort();
}

// The *.vcf files below a folder in a stable order. Linked folders are
// followed, but a folder already seen (through another link, or a link
// back up the tree) is not read again.
void CollectVCardFiles(const QString& folder, QSet<QString>& seenFolders, QStringList& files)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || seenFolders.contains(canonical))
        return;
    seenFolders.insert(canonical);
    QStringList folders;
    QStringList here;
    // Devices, pipes and sockets too, so that they are named as skipped.
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        if (entry.isDir())
            folders.append(entry.filePath());
        else if (entry.fileName().endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            here.append(entry.filePath());
    }
    here.sort();
    files += here;
    folders.sort();
    for (const QString& below : folders)
        CollectVCardFiles(below, seenFolders, files);
}

BookContents ReadVCardFolder(const QString& folder)
{
    QSet<QString> seenFolders;
    QStringList files;
    CollectVCardFiles(folder, seenFolders, files);
    BookContents contents;
    for (const QString& path : files) {
        try {
            AppendFileCards(FileContent(path, FolderFileLimits), contents);
        } catch (const Failure& failure) {
            contents.skipped.push_back({QFileInfo(path).fileName(), path, failure.Description()});
        }
    }
    return contents;
}

}

QString AddressBookFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/contacts");
}

FoundBooks FindVCardFolder()
{
    const QString folder = AddressBookFolder();
    FoundBooks found;
    found.places.append(QStringLiteral("%1 (vCard-Dateien)").arg(folder));
    if (QFileInfo(folder).isDir())
        found.books.push_back({QStringLiteral("vCard-Ordner"), folder, [folder] { return ReadVCardFolder(folder); }});
    return found;
}

ContactBook VCardFileBook(const QString& file)
{
    const auto content = std::make_shared<FileContent>(file, VCardLimits);
    return {QFileInfo(file).fileName(), file, [content] {
                BookContents contents;
                AppendFileCards(*content, contents);
                return contents;
            }};
}
