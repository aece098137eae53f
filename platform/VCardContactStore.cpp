#include "platform/VCardContactStore.h"

#include "model/Failure.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace {

Failure Unreadable()
{
    return Failure(QStringLiteral("Die Datei kann nicht gelesen werden."));
}

QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Unreadable();
    QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        throw Unreadable();
    return bytes;
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
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
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
            AppendCards(ReadWholeFile(path), contents);
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
    if (!QFileInfo(file).isFile())
        throw Failure(QStringLiteral("Die vCard-Datei \u201E%1\u201C wurde nicht gefunden.").arg(file));
    return {QFileInfo(file).fileName(), file, [file] {
                BookContents contents;
                AppendCards(ReadWholeFile(file), contents);
                return contents;
            }};
}
