#include "contacts/books/SqliteBook.h"

#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QScopeGuard>

#include <array>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

// SQLite's primary result codes, as the driver reports them.
enum SqliteCode {
    SqlitePerm = 3, SqliteBusy = 5, SqliteLocked = 6, SqliteReadOnly = 8, SqliteIoErr = 10, SqliteCorrupt = 11,
    SqliteFull = 13, SqliteCantOpen = 14, SqliteAuth = 23, SqliteNotADb = 26
};

const QString UnreadableFile = QStringLiteral("Die Datei kann nicht gelesen werden.");

int PrimaryCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

// The reason for the user, and the code to tell a journal that needs
// rolling back from the other failures.
struct SqliteFailure : Failure
{
    SqliteFailure(const QString& reason, const QSqlError& error) : Failure(reason), code(PrimaryCode(error)) {}
    int code;
};

QString ReasonText(const QSqlError& error)
{
    switch (PrimaryCode(error)) {
    case SqliteBusy:
    case SqliteLocked:
        return QStringLiteral("Das Adressbuch ist gesperrt, weil sein Programm gerade hineinschreibt. "
                              "Versuchen Sie es gleich noch einmal.");
    case SqliteCorrupt:
    case SqliteNotADb:
        return QStringLiteral("Die Datei ist beschädigt oder keine Adressbuch-Datenbank.");
    case SqlitePerm:
    case SqliteCantOpen:
    case SqliteAuth:
    case SqliteIoErr:
        return UnreadableFile;
    default:
        break;
    }
    if (error.databaseText().startsWith(QLatin1String("no such")))
        return QStringLiteral("Die Datenbank hat einen unbekannten Aufbau (%1).").arg(error.databaseText());
    return QStringLiteral("Die Datenbank meldet einen Fehler: %1").arg(error.databaseText());
}

SqliteFailure Reason(const QSqlError& error)
{
    return SqliteFailure(ReasonText(error), error);
}

// One connection of Qt's SQLite driver, removed again when it ends.
class Connection
{
public:
    Connection(const QString& file, const QString& options)
        : m_name(QStringLiteral("zidevavi-book-%1").arg(++s_count))
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
            throw Failure(QStringLiteral("Qt kann keine SQLite-Datenbanken lesen: der Treiber fehlt "
                                         "(Debian-Paket libqt6sql6-sqlite)."));
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(file);
        database.setConnectOptions(options);
        if (!database.open())
            throw Reason(database.lastError());
    }

    ~Connection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase Database() const { return QSqlDatabase::database(m_name, false); }

private:
    static inline int s_count = 0;
    QString m_name;
};

void ReadInOneTransaction(const QSqlDatabase& database, const std::function<void(const QSqlDatabase&)>& read)
{
    RunSql(database, QStringLiteral("BEGIN"));
    read(database);
    RunSql(database, QStringLiteral("COMMIT"));
}

// The database and the journal or log that belongs to it.
constexpr std::array<const char*, 3> CompanionSuffixes = {"", "-wal", "-journal"};

struct FileStamp
{
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;
};

std::array<FileStamp, CompanionSuffixes.size()> Stamps(const QString& file)
{
    std::array<FileStamp, CompanionSuffixes.size()> stamps;
    for (size_t i = 0; i < CompanionSuffixes.size(); ++i) {
        const QFileInfo info(file + QLatin1String(CompanionSuffixes[i]));
        if (info.exists())
            stamps[i] = {info.size(), info.lastModified()};
    }
    return stamps;
}

// The copy goes where the user's temporary files go; when it cannot, the
// message names that folder, not the book.
Failure TemporaryFolderFailure(int errorNumber)
{
    return Failure(QStringLiteral("Die Kopie des Adressbuchs kann im temporären Ordner \"%1\" nicht angelegt werden: %2.")
                       .arg(QDir::toNativeSeparators(QDir::tempPath()), SystemErrorText(errorNumber)));
}

void CopyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw Failure(UnreadableFile);
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0)
        throw TemporaryFolderFailure(errno);
    const auto closeOut = qScopeGuard([out] { ::close(out); });
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0)
            throw Failure(UnreadableFile);
        if (got == 0)
            return;
        for (qint64 done = 0; done < got;) {
            const ssize_t written = ::write(out, buffer.constData() + done, size_t(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                throw TemporaryFolderFailure(errno);
            done += written;
        }
    }
}

// A folder of the copy's own among the user's temporary files, removed
// with everything in it.
class CopyFolder
{
public:
    CopyFolder()
    {
        QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/zidevavi-book-XXXXXX"));
        if (!::mkdtemp(pattern.data()))
            throw TemporaryFolderFailure(errno);
        m_path = QFile::decodeName(pattern);
    }
    ~CopyFolder() { QDir(m_path).removeRecursively(); }
    CopyFolder(const CopyFolder&) = delete;
    CopyFolder& operator=(const CopyFolder&) = delete;

    QString FilePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

private:
    QString m_path;
};

// Copies the database and its companions, the database first; when one
// of them changed meanwhile the copy may not fit together, so it is made
// again, at most three times.
QString CopyWithCompanions(const QString& file, const CopyFolder& folder)
{
    const QString copy = folder.FilePath(QFileInfo(file).fileName());
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto before = Stamps(file);
        for (size_t i = 0; i < CompanionSuffixes.size(); ++i) {
            const QString suffix = QLatin1String(CompanionSuffixes[i]);
            QFile::remove(copy + suffix);
            if (before[i].size >= 0)
                CopyFile(file + suffix, copy + suffix);
        }
        if (Stamps(file) == before)
            return copy;
    }
    throw Failure(QStringLiteral("Das Adressbuch wird gerade fortlaufend geändert. Versuchen Sie es gleich noch einmal."));
}

void ReadPrivateCopy(const QString& file, const std::function<void(const QSqlDatabase&)>& read)
{
    const CopyFolder folder;
    try {
        const Connection connection(CopyWithCompanions(file, folder), QString());
        // Opening the copy replays its log or rolls back its journal; a check
        // afterwards tells a damaged book from an empty one.
        QSqlQuery check = RunSql(connection.Database(), QStringLiteral("PRAGMA quick_check"));
        if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
            throw Failure(QStringLiteral("Die Datei ist beschädigt."));
        check.finish();
        ReadInOneTransaction(connection.Database(), read);
    } catch (const SqliteFailure& failure) {
        // Replaying the log writes into the copy.
        if (failure.code == SqliteFull)
            throw TemporaryFolderFailure(ENOSPC);
        throw;
    }
}

// A book in write-ahead-log mode cannot be read where it is without files
// beside it (its log and shared memory), nor in a folder the user cannot
// write; the 18th and 19th bytes of the file say which mode it is in.
bool NeedsPrivateCopy(const QString& file)
{
    if (!QFileInfo(QFileInfo(file).absolutePath()).isWritable())
        return true;
    QFile book(file);
    if (!book.open(QIODevice::ReadOnly))
        return false; // the open in place says why
    const QByteArray header = book.read(20);
    return header.size() == 20 && (header[18] == 2 || header[19] == 2);
}

}

void ReadSqliteBook(const QString& file, SqliteAccess access, const std::function<void(const QSqlDatabase&)>& read)
{
    if (!QFileInfo(file).isReadable())
        throw Failure(UnreadableFile);
    if (access == SqliteAccess::PrivateCopy || NeedsPrivateCopy(file))
        return ReadPrivateCopy(file, read);

    try {
        const Connection connection(file, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1500"));
        ReadInOneTransaction(connection.Database(), read);
    } catch (const SqliteFailure& failure) {
        // A read-only connection cannot roll back a crashed writer's
        // journal and refuses to read past it.
        if (failure.code != SqliteReadOnly || !QFileInfo::exists(file + QStringLiteral("-journal")))
            throw;
        ReadPrivateCopy(file, read);
    }
}

QSqlQuery RunSql(const QSqlDatabase& database, const QString& statement)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw Reason(query.lastError());
    return query;
}
