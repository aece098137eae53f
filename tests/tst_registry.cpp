#include "support/TestMain.h"

#include "info/SysInfoLauncher.h"
#include "platform/ProgramStart.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace RegistryConstants;

// The machine's own registry: names the first system-information program
// found on the search path, and nothing else.
class tst_Registry : public QObject
{
    Q_OBJECT

private slots:
    void namesFirstInstalledProgram_data();
    void namesFirstInstalledProgram();
};

void tst_Registry::namesFirstInstalledProgram_data()
{
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("plainFiles");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList() << QStringList() << QString();
    QTest::newRow("one") << QStringList{"kinfocenter"} << QStringList() << QStringLiteral("kinfocenter");
    QTest::newRow("first in order wins") << QStringList{"gnome-system-monitor", "kinfocenter", "hardinfo"}
                                         << QStringList() << QStringLiteral("hardinfo");
    QTest::newRow("not executable skipped") << QStringList{"kinfocenter"} << QStringList{"hardinfo"}
                                            << QStringLiteral("kinfocenter");
    QTest::newRow("other programs ignored") << QStringList{"top"} << QStringList() << QString();
}

void tst_Registry::namesFirstInstalledProgram()
{
    QFETCH(QStringList, executables);
    QFETCH(QStringList, plainFiles);
    QFETCH(QString, expected);

    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    for (const QString& name : executables + plainFiles) {
        QFile file(bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
        QVERIFY(file.setPermissions(executables.contains(name) ? readWrite | QFile::ExeOwner : readWrite));
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });

    QString path;
    QCOMPARE(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("software\\microsoft\\shared tools\\msinfo"),
                         QStringLiteral("Path"), path),
             !expected.isEmpty());
    QCOMPARE(path, expected.isEmpty() ? QString() : bin.filePath(expected));

    // Nothing else is there, whatever is installed.
    QVERIFY(!GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                         QStringLiteral("MSINFO"), path));
    QVERIFY(!GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                         QStringLiteral("PATH2"), path));

    // A path that names no program fails at the start.
    QVERIFY(!CurrentProgramStarter().StartDetached(bin.filePath(QStringLiteral("fehlt"))));
}

ZIDEVAVI_TEST_MAIN(tst_Registry)
#include "tst_registry.moc"
