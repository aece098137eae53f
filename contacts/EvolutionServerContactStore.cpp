#include "contacts/EvolutionServerContactStore.h"

#include "contacts/books/EvolutionStorage.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Books of the local backend are read from their own files; an LDAP
// directory keeps only what was looked up, not a book of the user's.
bool IsCopiedServerBook(const EvolutionSource& source)
{
    return source.addressBook && source.enabled && !source.backend.isEmpty()
           && source.backend != QLatin1String("local") && source.backend != QLatin1String("ldap");
}

// A card the user deleted while offline stays in the cache, marked to be
// deleted on the server at the next sync (ECacheState 3).
BookContents ReadServerCopy(const QString& name, const QString& file)
{
    return ReadEvolutionVCards(name, file,
                               QStringLiteral("SELECT ECacheUID, ECacheOBJ FROM ECacheObjects "
                                              "WHERE ECacheState IS NOT 3"));
}

}

FoundBooks FindEvolutionServerBooks()
{
    const QString root = EvolutionFolder(QStandardPaths::GenericCacheLocation) + QStringLiteral("/addressbook");
    FoundBooks found;
    found.places.append(QStringLiteral("%1 (Evolution, Kopien der Server-Adressbücher)").arg(root));

    // A book switched off keeps its cache; the source file says it is off.
    for (const QString& folder : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString file = root + QLatin1Char('/') + folder + QStringLiteral("/cache.db");
        if (!QFileInfo::exists(file))
            continue;
        const EvolutionSource source = ReadEvolutionSource(folder);
        if (!IsCopiedServerBook(source))
            continue;
        const QString name = source.name;
        found.books.push_back({name, file, [name, file] { return ReadServerCopy(name, file); }});
    }
    return found;
}
