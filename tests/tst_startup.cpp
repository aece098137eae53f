// Start-up and the splash window.
#include "RecordingPrompt.h"
#include "TestMain.h"
#include "WindowLayout.h"

#include "document/frmDocument.h"
#include "info/frmSplash.h"
#include "info/VersionText.h"
#include "platform/Twips.h"
#include "shell/basMain.h"
#include "shell/CommandLine.h"
#include "shell/frmMain.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

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

    void splashLayoutGrowsWithTheSystemFont_data() { AddSystemFontRows(); }

    void splashLayoutGrowsWithTheSystemFont()
    {
        QFETCH(qreal, pointSize);
        ApplicationFont systemFont(pointSize);
        frmSplash splash;
        const DesignScale design(&splash, QSize(7455, 4710));
        QVERIFY(design.KeepsProportions());
        // Within its frame, which stands 45 twips from the left.
        QVERIFY(NearlyEqual(splash.findChild<QLabel*>("Picture1")->geometry(), design.Rect(3960 - 45, 600, 2895, 615)));
        QCOMPARE(CutOffTexts(&splash).join(u' '), QString());
        // The fonts the design gives in points grow with the layout.
        const qreal productSize = splash.findChild<QLabel*>("lblCompanyProduct")->font().pointSizeF();
        QVERIFY(qAbs(productSize / 18 - splash.width() / double(TwipsToPixelsX(7455))) < 0.01);
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

    // "zidevavi a.xml fehlt.xml b.xml", started in the folder of the documents.
    void commandLineFilesOpenInOrderEachInItsWindow_anUnreadableOneIsReported()
    {
        const QDir data(QStringLiteral(ZIDEVAVI_TEST_DATA));
        const QString previousFolder = QDir::currentPath();
        QDir::setCurrent(data.path());
        const QStringList files = DocumentFilesFromCommandLine(
            {u"zidevavi"_qs, u"nested-special.xml"_qs, u"fehlt.xml"_qs, data.filePath(u"empty-company.xml"_qs)});
        QDir::setCurrent(previousFolder);
        RecordingPrompt prompt;

        Main(files);

        // A window is captioned with its file once the file is read.
        QStringList captions;
        for (QMdiSubWindow* window : g_frmMain->MdiArea()->subWindowList())
            captions.append(window->widget()->windowTitle());
        QCOMPARE(captions, (QStringList{data.filePath(u"nested-special.xml"_qs), u"Document 2"_qs,
                                        data.filePath(u"empty-company.xml"_qs)}));
        QCOMPARE(g_frmMain->ActiveForm()->Caption(), captions.last());
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, u"Fehler in frmDocument.LoadDoc"_qs);
        delete g_frmMain;
    }
};

ZIDEVAVI_TEST_MAIN(StartupTest)
#include "tst_startup.moc"
