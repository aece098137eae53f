// Start-up and the splash window.
#include "TestMain.h"

#include "info/VersionText.h"
#include "info/frmSplash.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QLabel>
#include <QMdiArea>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void versionTextLeavesOutTheBuildNumber()
    {
        QCOMPARE(VersionText(), QStringLiteral("Version 0.9.4"));
        QCOMPARE(VersionText(1, 10, 200), QStringLiteral("Version 1.10.200"));
    }

    void splashShowsNameVersionAndPlatform()
    {
        frmSplash splash;
        QCOMPARE(splash.windowTitle(), QStringLiteral("Zidevavi"));
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 0.9.4"));
        QCOMPARE(splash.findChild<QLabel*>("lblCompanyProduct")->text(), QStringLiteral("Zidevavi"));
        QCOMPARE(splash.findChild<QLabel*>("lblPlatform")->text(), QStringLiteral("Windows XP/2000/NT"));
        QVERIFY(!splash.findChild<QLabel*>("Picture1")->pixmap().isNull());
        QVERIFY(!splash.findChild<QLabel*>("picLogo")->pixmap().isNull());
    }

    void splashIgnoresTheUser()
    {
        frmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(&splash, Qt::LeftButton);
        QTest::keyClick(&splash, Qt::Key_Escape);
        QVERIFY(!splash.close());
        QVERIFY(splash.isVisible());
    }

    void mainShowsTheMainWindowWithoutDocumentsAndReleasesTheSplash()
    {
        Main();
        QVERIFY(g_frmMain);
        QVERIFY(g_frmMain->isVisible());
        QVERIFY(g_frmMain->MdiArea()->subWindowList().isEmpty());
        QVERIFY(!g_frmMain->ActiveForm());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmSplash*>(window));
        delete g_frmMain;
    }
};

ZIDEVAVI_TEST_MAIN(StartupTest)
#include "tst_startup.moc"
