#include "contacts/EvolutionContactStore.h"

#include "contacts/books/EvolutionStorage.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The personal book lives in "system", though its source is called
// "system-address-book".
const QString SystemFolder = QStringLiteral("system");

// The book's name, or an empty text for a folder that is no enabled local
// book (disabled, of another kind, or left over without a source).
QString EnabledLocalBookName(const QString& folderName)
{
    const EvolutionSource source =
        ReadEvolutionSource(folderName == SystemFolder ? QString(EvolutionPersonalSource) : folderName);
    const bool local = source.addressBook && source.backend == QLatin1String("local");
    return local && source.enabled ? source.name : QString();
}

BookContents ReadEvolutionBook(const QString& name, const QString& file)
{
    return ReadEvolutionVCards(name, file, QStringLiteral("SELECT uid, vcard FROM folder_id"));
}

}

FoundBooks FindEvolutionBooks()
{
    const QString root = EvolutionFolder(QStandardPaths::GenericDataLocation) + QStringLiteral("/addressbook");
    FoundBooks found;
    found.places.append(QStringLiteral("%1 (Evolution)").arg(root));

    QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (folders.removeOne(SystemFolder))
        folders.prepend(SystemFolder);
    for (const QString& folder : folders) {
        const QString file = root + QLatin1Char('/') + folder + QStringLiteral("/contacts.db");
        if (!QFileInfo::exists(file))
            continue;
        const QString name = EnabledLocalBookName(folder);
        if (!name.isEmpty())
            found.books.push_back({name, file, [name, file] { return ReadEvolutionBook(name, file); }});
    }
    return found;
}
