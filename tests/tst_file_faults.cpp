// Files as a hostile world hands them over: cut short while they are read,
// devices, pipes and links where files should be, names at the system's
// limit, books beside which nothing may be written, too little memory, and
// signals while a file is saved.
#include "DocumentTestTools.h"
#include "support/AddressBookHome.h"
#include "support/TestMain.h"

#include "contacts/EvolutionContactStore.h"
#include "contacts/OutlookCsvContactStore.h"
#include "contacts/VCardContactStore.h"
#include "model/DocumentFile.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Memory.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return QString();
}

QByteArray CsvFile(int records, const QByteArray& lastRecord = QByteArray())
{
    QByteArray bytes = "Vorname,Nachname,E-Mail-Adresse\r\n";
    for (int i = 0; i < records; ++i)
        bytes += "Anna,Adler" + QByteArray::number(i) + ",anna" + QByteArray::number(i) + "@firma.example\r\n";
    return bytes + lastRecord;
}

QByteArray VCards(int cards, const QByteArray& lastCard = QByteArray())
{
    QByteArray bytes;
    for (int i = 0; i < cards; ++i)
        bytes += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Adler " + QByteArray::number(i) + "\r\nEND:VCARD\r\n";
    return bytes + lastCard;
}

// What another program does while the file is read.
QString g_cutPath;
qint64 g_cutTo = 0;
void CutWhenRead(const QString& path)
{
    if (path == g_cutPath)
        QFile::resize(path, g_cutTo);
}

BookContents ReadOnlyBook(const FoundBooks& found)
{
    if (found.books.size() != 1)
        throw Failure(QStringLiteral("%1 Bücher gefunden").arg(found.books.size()));
    return found.books[0].read();
}

// An Evolution personal book in write-ahead-log mode, its log folded in and
// gone, as Evolution leaves it when it ends.
QString WriteWalEvolutionBook()
{
    const QString file = AddressBookHome::WriteEvolutionBook(
        QStringLiteral("system"), {"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:c\r\nFN:Carla Christ\r\nEND:VCARD\r\n"});
    const FixtureDatabase book(file);
    book.Exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    return file;
}

}

class tst_file_faults : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void contactFileCutShortWhileReadIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("cutTo");
        // Cut pages raise a bus error; a cut within the last page only
        // leaves zeros, which the file's size tells.
        QTest::newRow("Outlook CSV, pages lost") << "csv" << CsvFile(3000) << qint64(4096);
        QTest::newRow("Outlook CSV, cut within its page") << "csv" << CsvFile(20) << qint64(300);
        QTest::newRow("vCard file") << "vcf" << VCards(3000) << qint64(4096);
        QTest::newRow("vCard folder") << "folder" << VCards(3000) << qint64(4096);
    }

    void contactFileCutShortWhileReadIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, cutTo);
        const AddressBookHome home;
        const QString path = kind == QLatin1String("folder") ? AddressBookHome::VCardFolder() + QStringLiteral("/a.vcf")
                                                             : m_dir->filePath(QStringLiteral("kontakte.") + kind);
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(WriteBytes(path, bytes));
        g_cutPath = path;
        g_cutTo = cutTo;
        SetFileContentHook(CutWhenRead);
        QString failure;
        if (kind == QLatin1String("folder")) {
            const BookContents contents = ReadOnlyBook(FindVCardFolder());
            QCOMPARE(contents.skipped.size(), size_t(1));
            failure = contents.skipped[0].reason;
        } else {
            failure = FailureOf([&] {
                const ContactBook book = kind == QLatin1String("csv") ? OutlookCsvBook(path) : VCardFileBook(path);
                book.read();
            });
        }
        SetFileContentHook(nullptr);
        QCOMPARE(failure, QStringLiteral("Die Datei \"%1\" wurde beim Lesen von einem anderen Programm gekürzt.").arg(path));
    }

    void onlyRegularFilesAreReadFromTheVCardFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: read
        QTest::newRow("link to a device") << "device" << "\"%1\" ist keine Datei, sondern ein Gerät.";
        QTest::newRow("pipe") << "fifo" << "\"%1\" ist keine Datei, sondern eine Pipe.";
        QTest::newRow("larger than 256 MB") << "large" << "Die Datei \"%1\" ist zu groß.";
        QTest::newRow("link to a file is followed") << "link" << QString();
    }

    void onlyRegularFilesAreReadFromTheVCardFolder()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const AddressBookHome home;
        const QString folder = AddressBookHome::VCardFolder();
        home.WriteFile(folder + QStringLiteral("/gut.vcf"), VCards(1));
        const QString path = folder + QStringLiteral("/x.vcf");
        if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("large")) {
            QFile large(path); // sparse: no disk space taken
            QVERIFY(large.open(QIODevice::WriteOnly) && large.resize((qint64(256) << 20) + 1));
        } else {
            QVERIFY(QFile::link(home.WriteFile(QStringLiteral("woanders/b.vcf"), VCards(2)), path));
        }

        const BookContents contents = ReadOnlyBook(FindVCardFolder());

        if (reason.isEmpty()) {
            QCOMPARE(contents.contacts.size(), size_t(3));
            QVERIFY(contents.skipped.empty());
        } else {
            QCOMPARE(contents.contacts.size(), size_t(1));
            QCOMPARE(contents.skipped.size(), size_t(1));
            QCOMPARE(contents.skipped[0].file, path);
            QCOMPARE(contents.skipped[0].reason, reason.arg(path));
        }
    }

    // Broken exports carry control characters that no XML reader takes in
    // a saved document; tabs and line breaks are text.
    void unsaveableCharactersAreDroppedFromContacts_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Outlook CSV: C0 controls")
            << "csv" << CsvFile(0, "Anna,Adler,\"an\x01na@fir\x0bma.\x1f\texample\"\r\n") << "Email1Address"
            << "anna@firma.\texample";
        QTest::newRow("vCard: C0 controls and non-characters")
            << "vcf" << VCards(0, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:An\x02na\xef\xbf\xbf Ad\xef\xbf\xbeler\r\nEND:VCARD\r\n")
            << "FullName" << "Anna Adler";
    }

    void unsaveableCharactersAreDroppedFromContacts()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        const QString path = m_dir->filePath(QStringLiteral("kontakte.") + kind);
        QVERIFY(WriteBytes(path, bytes));
        const ContactBook book = kind == QLatin1String("csv") ? OutlookCsvBook(path) : VCardFileBook(path);
        const BookContents contents = book.read();
        QCOMPARE(contents.contacts.size(), size_t(1));
        QCOMPARE(contents.contacts[0].TextProperty(property), expected);
    }

    void vCardFileWithoutCardsSaysSo_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("Liebe Anna,\r\nbis morgen.\r\n");
        const QString card = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nEND:VCARD\r\n");
        QTest::newRow("UTF-32") << QByteArray(reinterpret_cast<const char*>(card.toUcs4().constData()),
                                              card.size() * 4);
    }

    void vCardFileWithoutCardsSaysSo()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir->filePath(QStringLiteral("leer.vcf"));
        QVERIFY(WriteBytes(path, bytes));
        QVERIFY(FailureOf([&] { VCardFileBook(path).read(); }).startsWith(u"Die Datei enthält keine vCard:"));
    }

    // Read in place, a book in write-ahead-log mode gets its log and shared
    // memory beside it, and fails in a folder the user cannot write. Root
    // writes any folder, so that row needs a user.
    void evolutionBookIsReadWithoutWritingBesideIt_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("write-ahead log") << false;
        if (geteuid() != 0)
            QTest::newRow("folder the user cannot write") << true;
    }

    void evolutionBookIsReadWithoutWritingBesideIt()
    {
        QFETCH(bool, readOnlyFolder);
        const AddressBookHome home;
        const QString file = WriteWalEvolutionBook();
        const QString folder = QFileInfo(file).path();
        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

        const QString failure = FailureOf([] { QCOMPARE(ReadOnlyBook(FindEvolutionBooks()).contacts.size(), size_t(1)); });

        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(failure, QString());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList{"contacts.db"});
    }

    void copyFailureNamesTheTemporaryFolder()
    {
        const AddressBookHome home;
        WriteWalEvolutionBook();
        // A folder nobody can write, even root: a file.
        const QString notAFolder = m_dir->filePath(QStringLiteral("temp"));
        QVERIFY(WriteBytes(notAFolder, "x"));
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(notAFolder));
        const QString failure = FailureOf([] { ReadOnlyBook(FindEvolutionBooks()); });
        qputenv("TMPDIR", saved);
        QCOMPARE(failure, QStringLiteral("Die Kopie des Adressbuchs kann im temporären Ordner \"%1\" nicht angelegt "
                                         "werden: Ein Teil des Pfades ist kein Verzeichnis.")
                              .arg(notAFolder));
    }

    // Contact files of short records take the most memory per byte: their
    // lines count too.
    void fileNeedingMoreMemoryThanAvailableIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("available");
        QTest::newRow("document") << "xml" << QByteArray(1000, 'x') << qint64(10000);
        QTest::newRow("Outlook CSV of short records") << "csv" << QByteArray("a\n").repeated(500) << qint64(100000);
        QTest::newRow("vCard file of short lines") << "vcf" << QByteArray("a\n").repeated(500) << qint64(100000);
    }

    void fileNeedingMoreMemoryThanAvailableIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, available);
        const QString path = m_dir->filePath(QStringLiteral("gross.") + kind);
        QVERIFY(WriteBytes(path, bytes));
        OverrideAvailableMemory(available);
        const QString failure = FailureOf([&] {
            if (kind == QLatin1String("xml")) {
                clsFirma firma;
                LoadDocumentFile(path, firma, Counter());
            } else {
                (kind == QLatin1String("csv") ? OutlookCsvBook(path) : VCardFileBook(path)).read();
            }
        });
        OverrideAvailableMemory(std::nullopt);
        QVERIFY2(failure.startsWith(QStringLiteral("Nicht genügend Speicher, um die Datei \"%1\" zu lesen").arg(path)),
                 qPrintable(failure));
    }

    // A save follows links to where they lead, even where nothing is yet,
    // and its new file fits the longest name the system takes.
    void saveKeepsLinksAndLongNames_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("target"); // empty: saved itself
        QTest::newRow("dangling link") << "verweis.xml" << "ziel.xml";
        QTest::newRow("name of 249 bytes") << QString(245, u'a') + ".xml" << QString();
        QTest::newRow("name of 255 bytes") << QString(251, u'a') + ".xml" << QString();
    }

    void saveKeepsLinksAndLongNames()
    {
        QFETCH(QString, saved);
        QFETCH(QString, target);
        const QDir dir(m_dir->path());
        if (!target.isEmpty())
            QVERIFY(QFile::link(target, dir.filePath(saved)));
        const FirmaRef firma = ReadDocument(FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml"))));

        QCOMPARE(FailureOf([&] { SaveDocumentFile(dir.filePath(saved), *firma); }), QString());

        const QString written = dir.filePath(target.isEmpty() ? saved : target);
        QCOMPARE(FileBytes(written), FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml"))));
        if (!target.isEmpty())
            QCOMPARE(QFileInfo(dir.filePath(saved)).symLinkTarget(), written);
        QCOMPARE(dir.entryList(QDir::Files | QDir::System | QDir::Hidden).size(), target.isEmpty() ? 1 : 2);
    }

    // What is no file is named for what it is, and a pipe or socket, whose
    // reader may never come, is not written.
    void whatIsNoFileIsRefusedSayingWhatItIs_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("open a folder") << true << "folder" << "\"%1\" ist ein Ordner, keine Datei.";
        QTest::newRow("open a device") << true << "device" << "\"%1\" ist keine Datei, sondern ein Gerät.";
        QTest::newRow("open a pipe") << true << "fifo" << "\"%1\" ist keine Datei, sondern eine Pipe.";
        QTest::newRow("open a socket") << true << "socket" << "\"%1\" ist keine Datei, sondern ein Socket.";
        QTest::newRow("save to a pipe")
            << false << "fifo" << "Die Datei \"%1\" kann nicht geschrieben werden: \"%1\" ist keine Datei, sondern eine Pipe.";
        QTest::newRow("save to a socket") << false << "socket"
                                          << "Die Datei \"%1\" kann nicht geschrieben werden: \"%1\" ist keine Datei, "
                                             "sondern ein Socket.";
        QTest::newRow("save through a link loop")
            << false << "loop" << "Die Datei \"%1\" kann nicht geschrieben werden: Zu viele Ebenen symbolischer Verknüpfungen.";
    }

    void whatIsNoFileIsRefusedSayingWhatItIs()
    {
        QFETCH(bool, open);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QString path = m_dir->filePath(QStringLiteral("x"));
        const QByteArray native = QFile::encodeName(path);
        int socketFd = -1;
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/null");
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (kind == QLatin1String("socket")) {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(native.size()) < sizeof address.sun_path);
            std::copy(native.begin(), native.end(), address.sun_path);
            QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        } else {
            QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("y")), path));
            QVERIFY(QFile::link(path, m_dir->filePath(QStringLiteral("y"))));
        }
        const FirmaRef firma = ReadDocument(FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml"))));

        const QString failure = FailureOf([&] {
            if (open) {
                clsFirma read;
                LoadDocumentFile(path, read, Counter());
            } else {
                SaveDocumentFile(path, *firma);
            }
        });

        if (socketFd >= 0)
            ::close(socketFd);
        QCOMPARE(failure, message.arg(path));
    }

    // The signals that end the program wait for the save under way: the
    // file is whole, and nothing is left beside it.
    void signalDuringASaveLetsItFinish_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void signalDuringASaveLetsItFinish()
    {
        QFETCH(int, signal);
        const QString path = m_dir->filePath(QStringLiteral("neu.xml"));
        QProcess saving;
        saving.start(QStringLiteral(SAVE_UNDER_SIGNAL), {path, QString::number(signal)});
        QVERIFY(saving.waitForFinished(60000));
        QCOMPARE(saving.exitStatus(), QProcess::NormalExit);
        QCOMPARE(saving.exitCode(), 0);
        QCOMPARE(QFileInfo(path).size(), qint64(2) << 20);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"neu.xml"});
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

ZIDEVAVI_TEST_MAIN(tst_file_faults)
#include "tst_file_faults.moc"
