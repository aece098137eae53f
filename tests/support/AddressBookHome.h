#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

// A home folder of its own, with address books written into it the way
// Evolution, Thunderbird and vdirsyncer write theirs. HOME points to it for
// the object's lifetime (and XDG_DATA_HOME, XDG_CONFIG_HOME are unset), so
// the import never sees the real user's books.
class AddressBookHome
{
public:
    AddressBookHome();
    ~AddressBookHome();
    AddressBookHome(const AddressBookHome&) = delete;
    AddressBookHome& operator=(const AddressBookHome&) = delete;

    QString Path(const QString& relative = QString()) const;
    // Writes a file below the home, making its folders; returns its path.
    QString WriteFile(const QString& relative, const QByteArray& bytes) const;

    // The vCard folder and Evolution's data, cache and source folders,
    // wherever the standard paths put them.
    static QString VCardFolder();
    static QString EvolutionBooks();
    static QString EvolutionServerCopies();
    static QString EvolutionSources();

    // contacts.db of a book folder below EvolutionBooks(), one row per card;
    // a card with X-EVOLUTION-LIST is a contact list.
    static QString WriteEvolutionBook(const QString& folder, const QList<QByteArray>& vcards);
    static void WriteEvolutionSource(const QString& uid, const QString& displayName, bool enabled,
                                     const QString& backend = QStringLiteral("local"));

    // A row of Evolution's cache of a server book.
    struct CachedCard
    {
        QByteArray vcard;
        int state = 0; // 0 synced, 1 created, 2 modified, 3 deleted while offline
    };
    // cache.db of a server book's folder below EvolutionServerCopies(), one
    // row per card, keyed by the card's UID.
    static QString WriteEvolutionCache(const QString& uid, const QList<CachedCard>& cards);

    // A Thunderbird card: its UID and its rows of the properties table.
    struct ThunderbirdCard
    {
        QString uid;
        QList<QPair<QString, QString>> properties;
    };
    // A Thunderbird book database (schema 4, in WAL mode) with the cards and
    // one mailing list holding them.
    static void WriteThunderbirdBook(const QString& file, const QList<ThunderbirdCard>& cards);
    static void InsertThunderbirdCards(const QSqlDatabase& database, const QList<ThunderbirdCard>& cards);

    // Every file below the home but the program's own settings, byte for byte.
    QMap<QString, QByteArray> Snapshot() const;

private:
    QTemporaryDir m_folder;
    QByteArray m_savedHome;
};

// A connection to a fixture database, closed and removed with the object.
class FixtureDatabase
{
public:
    explicit FixtureDatabase(const QString& file);
    ~FixtureDatabase();
    FixtureDatabase(const FixtureDatabase&) = delete;
    FixtureDatabase& operator=(const FixtureDatabase&) = delete;

    QSqlDatabase Database() const;
    // Runs statements separated by ";" (none inside them); qFatal on failure.
    void Exec(const QString& statements) const;

private:
    QString m_name;
};
