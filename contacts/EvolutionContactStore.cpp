#include "contacts/EvolutionContactStore.h"

#include "contacts/books/KeyFile.h"
#include "contacts/books/SqliteBook.h"
#include "contacts/vcard/VCardContact.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The personal book lives in "system", though its source is called
// "system-address-book"; its definition is built into Evolution, and a
// source file of that name only overrides it.
const QString SystemFolder = QStringLiteral("system");
const QString SystemSource = QStringLiteral("system-address-book");

QString EvolutionFolder(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + QStringLiteral("/evolution");
}

// The book's name, or an empty text for a folder that is no enabled local
// book (disabled, of another kind, or left over without a source).
QString EnabledLocalBookName(const QString& folderName)
{
    const QString uid = folderName == SystemFolder ? SystemSource : folderName;
    const QString sourceFile = EvolutionFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sources/")
                               + uid + QStringLiteral(".source");
    if (!QFileInfo::exists(sourceFile))
        return uid == SystemSource ? QStringLiteral("Persönlich") : QString();

    const KeyFile source(sourceFile);
    const QString dataSource = QStringLiteral("Data Source");
    const QString addressBook = QStringLiteral("Address Book");
    if (!source.HasGroup(addressBook)
        || source.Value(addressBook, QStringLiteral("BackendName")) != QLatin1String("local")
        || source.Value(dataSource, QStringLiteral("Enabled")).compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QString();
    const QString german = source.Value(dataSource, QStringLiteral("DisplayName[de]"));
    const QString name = german.isEmpty() ? source.Value(dataSource, QStringLiteral("DisplayName")) : german;
    return name.isEmpty() ? uid : name;
}

// The vCard texts are taken out in one short read, so that Evolution,
// which gives up writing after some seconds of waiting, is kept waiting
// as little as possible; they are parsed afterwards.
BookContents ReadEvolutionBook(const QString& name, const QString& file)
{
    struct Row
    {
        QString uid;
        QString vcard;
    };
    std::vector<Row> rows;
    int withoutCard = 0;
    ReadSqliteBook(file, SqliteAccess::InPlace, [&](const QSqlDatabase& database) {
        QSqlQuery query = RunSql(database, QStringLiteral("SELECT uid, vcard FROM folder_id"));
        while (query.next()) {
            Row row{query.value(0).toString(), query.value(1).toString()};
            if (row.vcard.trimmed().isEmpty())
                ++withoutCard;
            else
                rows.push_back(std::move(row));
        }
    });

    BookContents contents;
    contents.contacts.reserve(rows.size());
    for (const Row& row : rows)
        AppendCards(row.vcard.toUtf8(), contents, row.uid);
    if (withoutCard > 0)
        contents.skipped.push_back({name, file, QStringLiteral("%1 Kontakt(e) ohne vCard-Daten übersprungen.").arg(withoutCard)});
    return contents;
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
