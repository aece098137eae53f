#include "AddressBookHome.h"

#include "contacts/VCardContactStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace {

void Check(bool ok, const QSqlQuery& query, const QString& what)
{
    if (!ok)
        qFatal("%s: %s", qPrintable(what), qPrintable(query.lastError().text()));
}

void Prepared(const QSqlDatabase& database, const QString& statement, const QVariantList& values)
{
    QSqlQuery query(database);
    Check(query.prepare(statement), query, statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    Check(query.exec(), query, statement);
}

// The tables of Evolution's local book (EBookSqlite, folder version 12).
const QString EvolutionSchema = QStringLiteral(
    "CREATE TABLE folders (folder_id TEXT PRIMARY KEY, version INTEGER, multivalues TEXT, lc_collate TEXT, "
    "countrycode VARCHAR(2));"
    "CREATE TABLE keys (key TEXT PRIMARY KEY, value TEXT, folder_id TEXT);"
    "INSERT INTO keys VALUES ('revision', '2024-05-01T10:00:00Z(1)', 'folder_id');"
    "CREATE TABLE 'folder_id' (uid TEXT PRIMARY KEY, Rev TEXT, file_as TEXT, file_as_localized TEXT, "
    "nickname TEXT, full_name TEXT, given_name TEXT, given_name_localized TEXT, family_name TEXT, "
    "family_name_localized TEXT, is_list INTEGER, list_show_addresses INTEGER, wants_html INTEGER, "
    "x509Cert INTEGER, pgpCert INTEGER, vcard TEXT, bdata TEXT);"
    "CREATE TABLE 'folder_id_email_list' (uid TEXT NOT NULL REFERENCES 'folder_id'(uid) ON DELETE CASCADE, "
    "value TEXT);"
    "CREATE TABLE 'folder_id_phone_list' (uid TEXT NOT NULL REFERENCES 'folder_id'(uid) ON DELETE CASCADE, "
    "value TEXT)");

// Evolution's cache of a server book (ECache, as EDS 3.46 creates it).
const QString EvolutionCacheSchema = QStringLiteral(
    "CREATE TABLE ECacheKeys (key TEXT PRIMARY KEY, value TEXT);"
    "INSERT INTO ECacheKeys VALUES ('version', '2');"
    "INSERT INTO ECacheKeys VALUES ('revision', '2026-11-30T09:00:00Z(3)');"
    "CREATE TABLE ECacheObjects (ECacheUID TEXT PRIMARY KEY, ECacheREV TEXT, ECacheOBJ TEXT, ECacheState INTEGER, "
    "pgpCert INTEGER, x509Cert INTEGER, wants_html INTEGER, list_show_addresses INTEGER, is_list INTEGER, "
    "family_name_localized TEXT, family_name TEXT, given_name_localized TEXT, given_name TEXT, full_name TEXT, "
    "nickname TEXT, file_as_localized TEXT, file_as TEXT, custom_flags INTEGER, bdata TEXT);"
    "CREATE TABLE attrlist_email_list (uid TEXT NOT NULL REFERENCES ECacheObjects(ECacheUID) ON DELETE CASCADE, "
    "value TEXT);"
    "CREATE TABLE attrlist_phone_list (uid TEXT NOT NULL REFERENCES ECacheObjects(ECacheUID) ON DELETE CASCADE, "
    "value TEXT)");

// Thunderbird's book (SQLiteDirectory, schema version 4).
const QString ThunderbirdSchema = QStringLiteral(
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE properties (card TEXT, name TEXT, value TEXT);"
    "CREATE TABLE lists (uid TEXT PRIMARY KEY, name TEXT, nickName TEXT, description TEXT);"
    "CREATE TABLE list_cards (list TEXT, card TEXT, PRIMARY KEY(list, card));"
    "CREATE INDEX properties_card ON properties(card);"
    "CREATE INDEX properties_name ON properties(name);"
    "PRAGMA user_version = 4");

}

AddressBookHome::AddressBookHome() : m_savedHome(qgetenv("HOME"))
{
    qputenv("HOME", m_folder.path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CACHE_HOME");
}

AddressBookHome::~AddressBookHome()
{
    qputenv("HOME", m_savedHome);
}

QString AddressBookHome::Path(const QString& relative) const
{
    return relative.isEmpty() ? m_folder.path() : m_folder.filePath(relative);
}

QString AddressBookHome::WriteFile(const QString& relative, const QByteArray& bytes) const
{
    const QString path = QDir::isAbsolutePath(relative) ? relative : Path(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString AddressBookHome::VCardFolder()
{
    return AddressBookFolder();
}

QString AddressBookHome::EvolutionBooks()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/evolution/addressbook");
}

QString AddressBookHome::EvolutionServerCopies()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/evolution/addressbook");
}

QString AddressBookHome::EvolutionSources()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/evolution/sources");
}

QString AddressBookHome::WriteEvolutionBook(const QString& folder, const QList<QByteArray>& vcards)
{
    const QString file = EvolutionBooks() + QLatin1Char('/') + folder + QStringLiteral("/contacts.db");
    QDir().mkpath(QFileInfo(file).path());
    const FixtureDatabase book(file);
    book.Exec(EvolutionSchema);
    Prepared(book.Database(), QStringLiteral("INSERT INTO folders VALUES ('folder_id', 12, ?, 'de_DE.UTF-8', 'DE')"),
             {QStringLiteral("email;phone")});
    for (qsizetype i = 0; i < vcards.size(); ++i) {
        Prepared(book.Database(), QStringLiteral("INSERT INTO folder_id (uid, is_list, vcard) VALUES (?, ?, ?)"),
                 {QStringLiteral("pas-id-%1-%2").arg(folder).arg(i), int(vcards[i].contains("X-EVOLUTION-LIST")),
                  QString::fromUtf8(vcards[i])});
    }
    return file;
}

void AddressBookHome::WriteEvolutionSource(const QString& uid, const QString& displayName, bool enabled,
                                           const QString& backend)
{
    QDir().mkpath(EvolutionSources());
    QFile file(EvolutionSources() + QLatin1Char('/') + uid + QStringLiteral(".source"));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the source %s", qPrintable(uid));
    // A server book as GNOME's online accounts set one up: under the
    // account's collection, the server in parts, no password.
    const bool local = backend == QLatin1String("local");
    const QString server = QStringLiteral("\n[Authentication]\nHost=dav.example.org\nPort=443\nUser=anna\n\n"
                                          "[Security]\nMethod=tls\n\n[WebDAV Backend]\nResourcePath=/dav/anna/\n");
    file.write(QStringLiteral("\n[Data Source]\nDisplayName=%1\nEnabled=%2\nParent=%3\n\n"
                              "[Address Book]\nBackendName=%4\nOrder=0\n%5")
                   .arg(displayName, enabled ? QStringLiteral("true") : QStringLiteral("false"),
                        local ? QStringLiteral("local-stub") : backend + QStringLiteral("-stub"), backend,
                        local ? QString() : server)
                   .toUtf8());
}

QString AddressBookHome::WriteEvolutionCache(const QString& uid, const QList<CachedCard>& cards)
{
    const QString file = EvolutionServerCopies() + QLatin1Char('/') + uid + QStringLiteral("/cache.db");
    QDir().mkpath(QFileInfo(file).path());
    const FixtureDatabase cache(file);
    cache.Exec(EvolutionCacheSchema);
    QSqlQuery transaction(cache.Database());
    Check(transaction.exec(QStringLiteral("BEGIN")), transaction, QStringLiteral("BEGIN"));
    QSqlQuery insert(cache.Database());
    const QString statement = QStringLiteral("INSERT INTO ECacheObjects (ECacheUID, ECacheREV, ECacheOBJ, ECacheState, "
                                             "is_list, custom_flags, bdata) VALUES (?, ?, ?, ?, 0, 0, ?)");
    Check(insert.prepare(statement), insert, statement);
    for (qsizetype i = 0; i < cards.size(); ++i) {
        // The cache's key is the card's UID.
        const QByteArray& vcard = cards[i].vcard;
        const qsizetype at = vcard.indexOf("\nUID:");
        const QByteArray cardUid =
            at < 0 ? "row-" + QByteArray::number(i) : vcard.mid(at + 5, vcard.indexOf('\r', at) - at - 5);
        insert.addBindValue(QString::fromUtf8(cardUid));
        insert.addBindValue(QStringLiteral("\"etag-%1\"").arg(i));
        insert.addBindValue(QString::fromUtf8(vcard));
        insert.addBindValue(cards[i].state);
        insert.addBindValue(QStringLiteral("/dav/anna/%1.vcf").arg(QString::fromUtf8(cardUid)));
        Check(insert.exec(), insert, statement);
    }
    Check(transaction.exec(QStringLiteral("COMMIT")), transaction, QStringLiteral("COMMIT"));
    return file;
}

void AddressBookHome::WriteThunderbirdBook(const QString& file, const QList<ThunderbirdCard>& cards)
{
    QDir().mkpath(QFileInfo(file).path());
    const FixtureDatabase book(file);
    book.Exec(ThunderbirdSchema);
    InsertThunderbirdCards(book.Database(), cards);
    Prepared(book.Database(), QStringLiteral("INSERT INTO lists VALUES ('list-1', 'Alle', '', '')"), {});
    for (const ThunderbirdCard& card : cards)
        Prepared(book.Database(), QStringLiteral("INSERT INTO list_cards VALUES ('list-1', ?)"), {card.uid});
}

void AddressBookHome::InsertThunderbirdCards(const QSqlDatabase& database, const QList<ThunderbirdCard>& cards)
{
    QSqlQuery transaction(database);
    Check(transaction.exec(QStringLiteral("BEGIN")), transaction, QStringLiteral("BEGIN"));
    QSqlQuery insert(database);
    Check(insert.prepare(QStringLiteral("INSERT INTO properties VALUES (?, ?, ?)")), insert, QStringLiteral("INSERT"));
    for (const ThunderbirdCard& card : cards) {
        for (const auto& [name, value] : card.properties) {
            insert.addBindValue(card.uid);
            insert.addBindValue(name);
            insert.addBindValue(value);
            Check(insert.exec(), insert, QStringLiteral("INSERT"));
        }
    }
    Check(transaction.exec(QStringLiteral("COMMIT")), transaction, QStringLiteral("COMMIT"));
}

QMap<QString, QByteArray> AddressBookHome::Snapshot() const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(Path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("/Zidevavi/")))
            continue;
        QFile file(path);
        files.insert(path.mid(Path().size()), file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
    }
    return files;
}

FixtureDatabase::FixtureDatabase(const QString& file) : m_name(QStringLiteral("fixture:") + file)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    database.setDatabaseName(file);
    if (!database.open())
        qFatal("cannot open %s: %s", qPrintable(file), qPrintable(database.lastError().text()));
}

FixtureDatabase::~FixtureDatabase()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase FixtureDatabase::Database() const
{
    return QSqlDatabase::database(m_name, false);
}

void FixtureDatabase::Exec(const QString& statements) const
{
    for (const QString& statement : statements.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QSqlQuery query(Database());
        Check(query.exec(statement), query, statement);
    }
}
