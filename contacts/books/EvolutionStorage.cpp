#include "contacts/books/EvolutionStorage.h"

#include "contacts/books/KeyFile.h"
#include "contacts/books/SqliteBook.h"
#include "contacts/vcard/VCardContact.h"

#include <QFileInfo>

QString EvolutionFolder(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + QStringLiteral("/evolution");
}

EvolutionSource ReadEvolutionSource(const QString& uid)
{
    const QString sourceFile = EvolutionFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sources/")
                               + uid + QStringLiteral(".source");
    if (!QFileInfo::exists(sourceFile)) {
        if (uid == EvolutionPersonalSource)
            return {true, true, QStringLiteral("local"), QStringLiteral("Persönlich")};
        return {};
    }

    const KeyFile source(sourceFile);
    const QString dataSource = QStringLiteral("Data Source");
    const QString addressBook = QStringLiteral("Address Book");
    EvolutionSource book;
    book.addressBook = source.HasGroup(addressBook);
    book.enabled = source.Value(dataSource, QStringLiteral("Enabled")).compare(QLatin1String("false"),
                                                                               Qt::CaseInsensitive) != 0;
    book.backend = source.Value(addressBook, QStringLiteral("BackendName"));
    const QString german = source.Value(dataSource, QStringLiteral("DisplayName[de]"));
    book.name = german.isEmpty() ? source.Value(dataSource, QStringLiteral("DisplayName")) : german;
    if (book.name.isEmpty())
        book.name = uid;
    return book;
}

// Evolution gives up writing after some seconds of waiting for a reader, so
// it is kept waiting as little as possible.
BookContents ReadEvolutionVCards(const QString& name, const QString& file, const QString& statement)
{
    struct Row
    {
        QString uid;
        QString vcard;
    };
    std::vector<Row> rows;
    int withoutCard = 0;
    ReadSqliteBook(file, SqliteAccess::InPlace, [&](const QSqlDatabase& database) {
        QSqlQuery query = RunSql(database, statement);
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
        contents.skipped.push_back(
            {name, file, QStringLiteral("%1 Kontakt(e) ohne vCard-Daten übersprungen.").arg(withoutCard)});
    return contents;
}
