#include "support/TestMain.h"

#include "info/SysInfoLauncher.h"
#include "platform/ProgramStart.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace RegistryConstants;

namespace {

const QByteArray ProgramKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Puts the PATH back as it was when the test ends.
class SearchPath
{
public:
    explicit SearchPath(const QString& folder) : m_saved(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(folder)); }
    ~SearchPath() { qputenv("PATH", m_saved); }
    SearchPath(const SearchPath&) = delete;
    SearchPath& operator=(const SearchPath&) = delete;

private:
    QByteArray m_saved;
};

bool PutProgram(const QString& path, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n");
    file.close();
    const QFile::Permissions read = QFile::ReadOwner | QFile::WriteOwner;
    return file.setPermissions(executable ? read | QFile::ExeOwner : read);
}

}

class tst_Registry : public QObject
{
    Q_OBJECT

private slots:
    void namesFirstInstalledProgram_data();
    void namesFirstInstalledProgram();
    void answersNothingElse_data();
    void answersNothingElse();
    void reportsSizeNeededWhenBufferTooSmall();
    void startFailsForMissingProgram();
};

void tst_Registry::namesFirstInstalledProgram_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("notExecutable");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList() << QStringList() << QString();
    QTest::newRow("one") << QStringList{"kinfocenter"} << QStringList() << QStringLiteral("kinfocenter");
    QTest::newRow("first in order wins") << QStringList{"gnome-system-monitor", "kinfocenter", "hardinfo"}
                                         << QStringList() << QStringLiteral("hardinfo");
    QTest::newRow("not executable is skipped") << QStringList{"kinfocenter"} << QStringList{"hardinfo"}
                                               << QStringLiteral("kinfocenter");
    QTest::newRow("unknown program ignored") << QStringList{"top"} << QStringList() << QString();
}

void tst_Registry::namesFirstInstalledProgram()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, notExecutable);
    QFETCH(QString, expected);

    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    for (const QString& name : installed)
        QVERIFY(PutProgram(bin.filePath(name), true));
    for (const QString& name : notExecutable)
        QVERIFY(PutProgram(bin.filePath(name), false));
    const SearchPath searchPath(bin.path());

    QString path = QStringLiteral("vorher");
    const bool read = GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(ProgramKey), QStringLiteral("PATH"), path);
    QCOMPARE(read, !expected.isEmpty());
    QCOMPARE(path, expected.isEmpty() ? QString() : bin.filePath(expected));
}

void tst_Registry::answersNothingElse_data()
{
    QTest::addColumn<uint>("root");
    QTest::addColumn<QByteArray>("keyName");
    QTest::addColumn<QByteArray>("valueName");
    QTest::addColumn<bool>("opens");

    const uint hkcu = 0x80000001u;
    QTest::newRow("folder value") << uint(HKEY_LOCAL_MACHINE) << QByteArray("SOFTWARE\\Microsoft\\Shared Tools Location")
                                  << QByteArray("MSINFO") << false;
    QTest::newRow("other root") << hkcu << ProgramKey << QByteArray("PATH") << false;
    QTest::newRow("other value") << uint(HKEY_LOCAL_MACHINE) << ProgramKey << QByteArray("Path2") << true;
    QTest::newRow("parent key") << uint(HKEY_LOCAL_MACHINE) << QByteArray("SOFTWARE\\Microsoft\\Shared Tools")
                                << QByteArray("PATH") << false;
}

void tst_Registry::answersNothingElse()
{
    QFETCH(uint, root);
    QFETCH(QByteArray, keyName);
    QFETCH(QByteArray, valueName);
    QFETCH(bool, opens);

    QTemporaryDir bin;
    QVERIFY(PutProgram(bin.filePath(QStringLiteral("hardinfo")), true));
    const SearchPath searchPath(bin.path());

    Registry& registry = CurrentRegistry();
    Registry::HKEY key = 0;
    QCOMPARE(registry.RegOpenKeyEx(root, keyName, 0x2003F, &key) == ERROR_SUCCESS, opens);
    if (!opens)
        return;
    std::uint32_t type = 0, size = 1024;
    unsigned char buffer[1024] = {};
    QCOMPARE(registry.RegQueryValueEx(key, valueName, &type, buffer, &size), ERROR_FILE_NOT_FOUND);
    QCOMPARE(registry.RegCloseKey(key), ERROR_SUCCESS);
}

void tst_Registry::reportsSizeNeededWhenBufferTooSmall()
{
    QTemporaryDir bin;
    QVERIFY(PutProgram(bin.filePath(QStringLiteral("hardinfo")), true));
    const SearchPath searchPath(bin.path());
    const QByteArray expected = QFile::encodeName(bin.filePath(QStringLiteral("hardinfo")));

    Registry& registry = CurrentRegistry();
    Registry::HKEY key = 0;
    // Windows matches key and value names without regard to case.
    QCOMPARE(registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, ProgramKey.toLower(), 0x2003F, &key), ERROR_SUCCESS);
    std::uint32_t type = 0, size = 4;
    unsigned char small[4] = {};
    QCOMPARE(registry.RegQueryValueEx(key, "path", &type, small, &size), ERROR_MORE_DATA);
    QCOMPARE(size, std::uint32_t(expected.size() + 1));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(small), 4), QByteArray(4, '\0'));
    QCOMPARE(registry.RegCloseKey(key), ERROR_SUCCESS);
    QCOMPARE(registry.RegCloseKey(key), ERROR_INVALID_HANDLE);
}

void tst_Registry::startFailsForMissingProgram()
{
    QTemporaryDir folder;
    QVERIFY(!CurrentProgramStarter().StartDetached(folder.filePath(QStringLiteral("fehlt"))));
    QVERIFY(!CurrentProgramStarter().StartDetached(QString()));
}

ZIDEVAVI_TEST_MAIN(tst_Registry)
#include "tst_registry.moc"
