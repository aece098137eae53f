#include "FakeSysInfo.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"
#include "support/WindowLayout.h"

#include "info/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    void showsProgramAndVersion();
    void layoutGrowsWithTheSystemFont_data();
    void layoutGrowsWithTheSystemFont();
    void keysCloseTheWindow_data();
    void keysCloseTheWindow();
    void tabsFromOkToSystemInfo();
    void systemInfoButtonStartsProgram_data();
    void systemInfoButtonStartsProgram();
};

void tst_About::showsProgramAndVersion()
{
    QWidget owner;
    frmAbout about(&owner);

    QCOMPARE(about.parentWidget(), &owner);
    QCOMPARE(about.windowTitle(), QStringLiteral("Info Zidevavi"));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Zidevavi"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 0.9.4"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
             QStringLiteral("Bereitet Adressen für den Import in das Online-Adress-Verwaltungstool Rorozada vor."));
    QCOMPARE(about.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System-Info..."));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
    // Not resizable.
    QCOMPARE(about.minimumSize(), about.maximumSize());
}

void tst_About::layoutGrowsWithTheSystemFont_data()
{
    AddSystemFontRows();
}

void tst_About::layoutGrowsWithTheSystemFont()
{
    QFETCH(qreal, pointSize);
    ApplicationFont systemFont(pointSize);
    frmAbout about(nullptr);
    QCOMPARE(about.font().pointSizeF(), pointSize);
    const DesignScale design(&about, QSize(5865, 3630));
    QVERIFY(design.KeepsProportions());
    QVERIFY(NearlyEqual(about.cmdSysInfo->geometry(), design.Rect(4260, 3075, 1452, 345)));
    QCOMPARE(CutOffTexts(&about).join(u' '), QString());
}

void tst_About::keysCloseTheWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void tst_About::keysCloseTheWindow()
{
    QFETCH(int, key);

    RecordingStarter starter;
    frmAbout about(nullptr);
    about.open();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key(key));

    QVERIFY(!about.isVisible());
    QVERIFY(starter.started.isEmpty());
}

void tst_About::tabsFromOkToSystemInfo()
{
    frmAbout about(nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));

    QCOMPARE(QApplication::focusWidget(), about.cmdOK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), about.cmdSysInfo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), about.cmdOK);
}

void tst_About::systemInfoButtonStartsProgram_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("byAccessKey");
    QTest::newRow("click, program named") << QByteArray("/usr/bin/hardinfo") << false;
    QTest::newRow("Alt+S, program named") << QByteArray("/usr/bin/hardinfo") << true;
    QTest::newRow("click, none named") << QByteArray() << false;
}

void tst_About::systemInfoButtonStartsProgram()
{
    QFETCH(QByteArray, path);
    QFETCH(bool, byAccessKey);

    FakeRegistry registry;
    if (!path.isEmpty())
        registry.SetString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path);
    RecordingStarter starter;
    RecordingPrompt prompt;
    frmAbout about(nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));

    QSignalSpy clicked(about.cmdSysInfo, &QPushButton::clicked);
    if (byAccessKey)
        QTest::keyClick(about.windowHandle(), Qt::Key_S, Qt::AltModifier);
    else
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    // An access key presses the button with a short animation.
    QTRY_COMPARE(clicked.size(), 1);

    QCOMPARE(starter.started, path.isEmpty() ? QStringList() : QStringList{QString::fromLatin1(path)});
    QCOMPARE(prompt.messages.size(), path.isEmpty() ? 1 : 0);
    // The window stays open beside the started program.
    QVERIFY(about.isVisible());
}

ZIDEVAVI_TEST_MAIN(tst_About)
#include "tst_about.moc"
