#include "FakeSysInfo.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "info/SysInfoLauncher.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace RegistryConstants;

namespace {

const QByteArray PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString NotAvailable = QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar.");

QByteArray Bytes(std::initializer_list<unsigned char> bytes)
{
    QByteArray data;
    for (unsigned char byte : bytes)
        data.append(char(byte));
    return data;
}

}

class tst_SysInfo : public QObject
{
    Q_OBJECT

private slots:
    void readsValueAsText_data();
    void readsValueAsText();
    void fillsBufferWithoutZero();
    void startsOrReports_data();
    void startsOrReports();
};

void tst_SysInfo::readsValueAsText_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("keyVal");

    const QByteArray a1023(1023, 'a');
    QTest::newRow("string") << uint(REG_SZ) << QByteArray("C:\\Programme\\msinfo32.exe\0", 26) << true
                            << QStringLiteral("C:\\Programme\\msinfo32.exe");
    QTest::newRow("string without terminating zero") << uint(REG_SZ) << QByteArray("abc") << true
                                                     << QStringLiteral("abc");
    QTest::newRow("string ends at the first zero") << uint(REG_SZ) << QByteArray("ab\0cd\0", 6) << true
                                                   << QStringLiteral("ab");
    QTest::newRow("string with zero fills 1024 bytes") << uint(REG_SZ) << (a1023 + '\0') << true
                                                       << QString::fromLatin1(a1023);
    QTest::newRow("string with zero over 1024 bytes") << uint(REG_SZ) << (a1023 + "b" + '\0') << false << QString();
    QTest::newRow("dword 1234") << uint(REG_DWORD) << Bytes({0xD2, 0x04, 0x00, 0x00}) << true
                                << QStringLiteral("1234");
    QTest::newRow("dword -1 is signed") << uint(REG_DWORD) << Bytes({0xFF, 0xFF, 0xFF, 0xFF}) << true
                                        << QStringLiteral("-1");
    QTest::newRow("dword lowest") << uint(REG_DWORD) << Bytes({0x00, 0x00, 0x00, 0x80}) << true
                                  << QStringLiteral("-2147483648");
    // Other types are read, but the text stays as the caller had it.
    QTest::newRow("binary") << uint(REG_BINARY) << QByteArray("xyz") << true << QStringLiteral("vorher");
    QTest::newRow("binary over 1024 bytes") << uint(REG_BINARY) << QByteArray(1025, 'x') << false << QString();
}

void tst_SysInfo::readsValueAsText()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, read);
    QFETCH(QString, keyVal);

    FakeRegistry registry;
    registry.SetValue(PathKey, "PATH", type, data);

    QString text = QStringLiteral("vorher");
    QCOMPARE(GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(PathKey), QStringLiteral("PATH"), text), read);
    QCOMPARE(text, keyVal);
    QCOMPARE(registry.accessAsked, QList<std::uint32_t>{0x2003F});
    QVERIFY2(registry.openKeys.isEmpty(), "the key was left open");
}

void tst_SysInfo::fillsBufferWithoutZero()
{
    FakeRegistry registry;
    registry.SetValue(PathKey, "PATH", REG_SZ, QByteArray(1024, 'a'));

    QString text = QStringLiteral("vorher");
    QVERIFY_THROWS_EXCEPTION(Failure,
                             GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(PathKey), QStringLiteral("PATH"), text));
    QVERIFY2(registry.openKeys.isEmpty(), "the key was left open");
}

// "%folder%" in the registry values and the expected start stands for a
// temporary folder; "file" puts an MSINFO32.EXE into it, "directory" a
// folder of that name.
void tst_SysInfo::startsOrReports_data()
{
    // The data of the "PATH" value as stored, with or without its zero.
    QTest::addColumn<uint>("pathType");
    QTest::addColumn<QByteArray>("pathValue");
    QTest::addColumn<QByteArray>("folderValue");
    QTest::addColumn<QString>("folderHolds");
    QTest::addColumn<bool>("pathKeyReadOnly");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("reported");

    const QByteArray none;
    const QByteArray program = "C:\\WINDOWS\\system32\\msinfo32.exe";
    const QByteArray programSz = program + '\0';
    const QByteArray blanks = "C:\\Program Files\\Common Files\\msinfo32.exe";
    const QByteArray folder = "%folder%";
    const QString empty, file = QStringLiteral("file"), directory = QStringLiteral("directory");
    const QStringList nothing;
    const QStringList startedProgram{QString::fromLatin1(program)};
    const QStringList startedBlanks{QString::fromLatin1(blanks)};
    const QStringList startedFromFolder{QStringLiteral("%folder%") + QDir::separator()
                                        + QStringLiteral("MSINFO32.EXE")};

    const uint sz = REG_SZ;
    const QByteArray tooLong = QByteArray(1024, 'p') + '\0';
    const QByteArray fillsBuffer(1024, 'p');

    // tag                                                  type   PATH data      MSINFO    folder holds  PATH r/o  start   started             message
    QTest::newRow("no values")                            << sz << none          << none   << empty     << false << true  << nothing           << true;
    QTest::newRow("path")                                 << sz << programSz     << none   << empty     << false << true  << startedProgram    << false;
    QTest::newRow("path with blanks kept whole")          << sz << blanks + '\0' << none   << empty     << false << true  << startedBlanks     << false;
    QTest::newRow("path preferred over folder")           << sz << programSz     << folder << file      << false << true  << startedProgram    << false;
    QTest::newRow("path to a missing program")            << sz << programSz     << none   << empty     << false << false << startedProgram    << true;
    QTest::newRow("path of another type")                 << uint(REG_BINARY) << QByteArray("\x01\x02") << none << empty << false << true << nothing << true;
    QTest::newRow("folder with the program")              << sz << none          << folder << file      << false << true  << startedFromFolder << false;
    QTest::newRow("folder without the program")           << sz << none          << folder << empty     << false << true  << nothing           << true;
    QTest::newRow("folder with a directory of that name") << sz << none          << folder << directory << false << true  << nothing           << true;
    QTest::newRow("path key read-only, folder used")      << sz << programSz     << folder << file      << true  << true  << startedFromFolder << false;
    QTest::newRow("path too long, folder used")           << sz << tooLong       << folder << file      << false << true  << startedFromFolder << false;
    // A failure inside the read ends the launch; the folder is not tried.
    QTest::newRow("path filling the buffer without zero") << sz << fillsBuffer   << folder << file      << false << true  << nothing           << true;
}

void tst_SysInfo::startsOrReports()
{
    QFETCH(uint, pathType);
    QFETCH(QByteArray, pathValue);
    QFETCH(QByteArray, folderValue);
    QFETCH(QString, folderHolds);
    QFETCH(bool, pathKeyReadOnly);
    QFETCH(bool, startSucceeds);
    QFETCH(QStringList, started);
    QFETCH(bool, reported);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString programPath = folder.filePath(QStringLiteral("MSINFO32.EXE"));
    if (folderHolds == QLatin1String("file")) {
        QFile file(programPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (folderHolds == QLatin1String("directory")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("MSINFO32.EXE")));
    }
    const QByteArray folderBytes = QFile::encodeName(folder.path());

    FakeRegistry registry;
    RecordingStarter starter;
    starter.answer = startSucceeds;
    RecordingPrompt prompt;
    if (!pathValue.isNull())
        registry.SetValue(PathKey, "PATH", pathType, pathValue);
    if (pathKeyReadOnly)
        registry.readOnly.insert(PathKey);
    if (!folderValue.isNull())
        registry.SetString(FolderKey, "MSINFO", folderValue.replace("%folder%", folderBytes));

    StartSysInfo(nullptr);

    started.replaceInStrings(QStringLiteral("%folder%"), folder.path());
    QCOMPARE(starter.started, started);
    if (reported) {
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].prompt, NotAvailable);
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Zidevavi"));
        QCOMPARE(prompt.messages[0].icon, Prompt::Icon::None);
    } else {
        QVERIFY(prompt.messages.isEmpty());
    }
    QVERIFY2(registry.openKeys.isEmpty(), "a key was left open");
}

ZIDEVAVI_TEST_MAIN(tst_SysInfo)
#include "tst_sysinfo.moc"
