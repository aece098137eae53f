// The main window: menus, toolbar, status bar, placement and document numbering,
// and the error report.
#include "MainWindowFixture.h"
#include "RecordingPrompt.h"
#include "TestMain.h"

#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/MousePointer.h"
#include "platform/Settings.h"
#include "platform/ShowError.h"
#include "platform/Twips.h"
#include "shell/CommandGuard.h"
#include "shell/frmMain.h"
#include "shell/StatusBar.h"

#include <QAccessible>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString App = QStringLiteral("Zidevavi");
const QString Section = QStringLiteral("Settings");

void ClearSettings()
{
    QSettings(App, App).clear();
}

QString Stored(const char* key)
{
    return GetSetting(App, Section, QString::fromLatin1(key), QStringLiteral("<none>"));
}

QStringList Captions(frmMain* main)
{
    QStringList captions;
    for (QMdiSubWindow* window : main->MdiArea()->subWindowList())
        captions.append(window->widget()->windowTitle());
    return captions;
}

}

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { ClearSettings(); }

    void menuEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        const char* rows[][4] = {
            {"mnuFileNew", "mnuFile", "&Neu", "Ctrl+N"},
            {"mnuFileOpen", "mnuFile", "Ö&ffnen...", "Ctrl+O"},
            {"mnuFileClose", "mnuFile", "S&chließen", ""},
            {"mnuFileSave", "mnuFile", "&Speichern", ""},
            {"mnuFileSaveAs", "mnuFile", "Speichern &unter...", ""},
            {"mnuImport", "mnuFile", "Import", ""},
            {"mnuOutlook", "mnuImport", "Outlook", ""},
            {"mnuCardDav", "mnuImport", "CardDAV-Adressbuch...", ""},
            {"mnuFileExit", "mnuFile", "&Beenden", ""},
            {"mnuEditCut", "mnuEdit", "&Ausschneiden", "Ctrl+X"},
            {"mnuEditCopy", "mnuEdit", "&Kopieren", "Ctrl+C"},
            {"mnuEditPaste", "mnuEdit", "&Einfügen", "Ctrl+V"},
            {"mnuEditFind", "mnuEdit", "&Suchen...", "Ctrl+F"},
            {"mnuEditFindNext", "mnuEdit", "&Weitersuchen", "F3"},
            {"mnuWindowCascade", "mnuWindow", "&Überlappend", ""},
            {"mnuWindowTile", "mnuWindow", "&Nebeneinander", ""},
            {"mnuWindowArrange", "mnuWindow", "&Symbole anordnen", ""},
            {"mnuHelpAbout", "mnuHelp", "Inf&o ", ""},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1] << QString::fromUtf8(row[2]) << row[3];
    }

    void menuEntries()
    {
        QFETCH(QString, name);
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        MainWindowFixture fixture;
        auto* holder = fixture.main()->findChild<QMenu*>(menu);
        QVERIFY(holder);
        QAction* entry = nullptr;
        for (QAction* action : holder->actions())
            if (action->objectName() == name)
                entry = action;
        QVERIFY(entry);
        QCOMPARE(entry->text(), caption);
        QCOMPARE(entry->shortcut(), QKeySequence(shortcut));
        QVERIFY(entry->isEnabled() && entry->isVisible());
    }

    void menuBarAndSeparatorsAreInPlace()
    {
        MainWindowFixture fixture;
        QStringList bar;
        for (QAction* action : fixture.main()->menuBar()->actions())
            bar.append(action->text());
        QCOMPARE(bar, QStringList({"&Datei", "&Bearbeiten", "&Fenster", "&?"}));

        QStringList file;
        for (QAction* action : fixture.main()->findChild<QMenu*>("mnuFile")->actions())
            file.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(file, QStringList({"mnuFileNew", "mnuFileOpen", "mnuFileClose", "-", "mnuFileSave", "mnuFileSaveAs",
                                    "-", "mnuImport", "-", "mnuFileExit"}));
        QCOMPARE(fixture.main()->windowTitle(), QStringLiteral("Zidevavi"));

        QStringList edit;
        for (QAction* action : fixture.main()->findChild<QMenu*>("mnuEdit")->actions())
            edit.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(edit, QStringList({"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "-", "mnuEditFind", "mnuEditFindNext"}));
    }

    void windowMenuListsTheWindowsWithTheActiveOneChecked()
    {
        MainWindowFixture fixture;
        frmDocument* first = fixture.NewDocument();
        fixture.NewDocument()->SetCaption(QStringLiteral("/tmp/A&B.xml"));
        auto* menu = fixture.main()->findChild<QMenu*>("mnuWindow");
        const auto list = [menu] {
            emit menu->aboutToShow();
            QStringList entries;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    entries.append(action->isVisible() ? QStringLiteral("-") : QStringLiteral("(-)"));
                else if (action->objectName().isEmpty())
                    entries.append(action->text() + (action->isChecked() ? QStringLiteral(" *") : QString()));
            }
            return entries;
        };
        QCOMPARE(list(), QStringList({"-", "&1 Document 1", "&2 /tmp/A&&B.xml *"}));
        menu->actions().at(4)->trigger();
        QCOMPARE(fixture.main()->ActiveForm(), first);
        QCOMPARE(list(), QStringList({"-", "&1 Document 1 *", "&2 /tmp/A&&B.xml"}));
        fixture.main()->MdiArea()->closeAllSubWindows();
        QCOMPARE(list(), QStringList({"(-)"}));
    }

    // A minimised window moved away comes back to the bottom left.
    void arrangeIconsPutsMinimisedWindowsAlongTheBottom()
    {
        MainWindowFixture fixture;
        fixture.main()->resize(900, 500);
        fixture.NewDocument();
        QMdiSubWindow* window = fixture.main()->MdiArea()->currentSubWindow();
        window->showMinimized();
        window->move(120, 40);
        fixture.main()->findChild<QAction*>("mnuWindowArrange")->trigger();
        const QRect area = fixture.main()->MdiArea()->viewport()->rect();
        QCOMPARE(window->geometry().bottomLeft(), area.bottomLeft());
    }

    void toolbarButtons()
    {
        MainWindowFixture fixture;
        QStringList buttons;
        auto* toolbar = fixture.main()->findChild<QToolBar*>("tbToolBar");
        for (QAction* action : toolbar->actions()) {
            if (action->isSeparator()) {
                buttons.append(QStringLiteral("-"));
                continue;
            }
            QVERIFY(!action->icon().isNull());
            QWidget* button = toolbar->widgetForAction(action);
            QCOMPARE(qobject_cast<QToolButton*>(button)->toolButtonStyle(), Qt::ToolButtonIconOnly);
            const QString accessibleName = QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
            buttons.append(action->data().toString() + QLatin1Char('/') + action->toolTip() + QLatin1Char('/')
                           + accessibleName);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(toolbar)->text(QAccessible::Name), QStringLiteral("Symbolleiste"));
        QCOMPARE(buttons, QStringList({"Öffnen/Öffnen/Öffnen", "Speichern/Speichern/Speichern", "-",
                                       "Ausschneiden/Ausschneiden/Ausschneiden", "Kopieren/Kopieren/Kopieren",
                                       "Einfügen/Einfügen/Einfügen"}));
    }

    void statusBarShowsStatusDateAndTime()
    {
        MainWindowFixture fixture;
        auto* bar = fixture.main()->findChild<StatusBar*>("sbStatusBar");
        QVERIFY(bar);
        QVERIFY(bar->findChildren<QLabel*>().first()->text() == QStringLiteral("Status"));
        QCOMPARE(bar->DatePanel()->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QVERIFY(!bar->TimePanel()->text().isEmpty());
    }

    void documentsAreNumberedAndNumbersNeverReused()
    {
        MainWindowFixture fixture;
        fixture.NewDocument();
        fixture.NewDocument();
        QCOMPARE(Captions(fixture.main()), QStringList({"Document 1", "Document 2"}));
        fixture.main()->MdiArea()->closeAllSubWindows();
        QVERIFY(!fixture.main()->ActiveForm());
        frmDocument* third = fixture.NewDocument();
        QCOMPARE(third->Caption(), QStringLiteral("Document 3"));
        QCOMPARE(fixture.main()->ActiveForm(), third);
        QCOMPARE(third->m_lngID, 0);
    }

    // The default main window is narrower than a document window.
    void workspaceScrollsToADocumentBeyondIt()
    {
        MainWindowFixture fixture;
        fixture.NewDocument();
        QTRY_VERIFY(fixture.main()->MdiArea()->horizontalScrollBar()->isVisible());
    }

    void closingTheMainWindowClosesEveryDocument()
    {
        MainWindowFixture fixture;
        QPointer<frmDocument> first = fixture.NewDocument();
        QPointer<frmDocument> second = fixture.NewDocument();
        fixture.main()->close();
        QTest::qWait(0);
        QVERIFY(!first && !second);
    }

    void firstStartUsesTheDefaultPlacement()
    {
        MainWindowFixture fixture;
        const QRect frame = fixture.main()->frameGeometry();
        QCOMPARE(frame, QRect(TwipsToPixelsX(1000), TwipsToPixelsY(1000), TwipsToPixelsX(6500), TwipsToPixelsY(6500)));
    }

    // A window partly off the screen's left edge is stored so, and restored
    // moved onto the screen; the stored values stay while it is not moved.
    void placementIsStoredAndRestored()
    {
        {
            MainWindowFixture fixture;
            fixture.main()->move(TwipsToPixelsX(-300), TwipsToPixelsY(600));
            fixture.main()->resize(640, 480);
        }
        const QString left = Stored("MainLeft");
        QCOMPARE(left, QString::number(float(PixelsToTwipsX(TwipsToPixelsX(-300)))));
        QVERIFY(left.startsWith(QLatin1Char('-')));
        const QString width = Stored("MainWidth");

        MainWindowFixture again;
        const QRect screen = again.main()->screen()->availableGeometry();
        QCOMPARE(again.main()->frameGeometry().topLeft(), QPoint(screen.left(), TwipsToPixelsY(600)));
        QCOMPARE(again.main()->size(), QSize(640, 480));
        again.main()->close();
        QCOMPARE(Stored("MainWidth"), width);
        QCOMPARE(Stored("MainLeft"), left);
    }

    // Stored at 100 % and restored at a larger scale, or on a smaller screen.
    void placementLargerThanTheScreenIsShrunkIntoIt()
    {
        SaveSetting(App, Section, QStringLiteral("MainLeft"), QStringLiteral("3000"));
        SaveSetting(App, Section, QStringLiteral("MainTop"), QStringLiteral("2000"));
        SaveSetting(App, Section, QStringLiteral("MainWidth"), QStringLiteral("40000"));
        SaveSetting(App, Section, QStringLiteral("MainHeight"), QStringLiteral("30000"));
        MainWindowFixture fixture;
        QCOMPARE(fixture.main()->frameGeometry(), fixture.main()->screen()->availableGeometry());
    }

    // Twips rounded to whole pixels must not creep from run to run.
    void untouchedWindowStoresThePlacementItLoaded()
    {
        for (int run = 0; run < 2; ++run)
            MainWindowFixture fixture;
        const QStringList stored = {Stored("MainLeft"), Stored("MainTop"), Stored("MainWidth"), Stored("MainHeight")};
        QCOMPARE(stored, QStringList({"1000", "1000", "6500", "6500"}));
    }

    void nothingIsStoredWhileMinimized()
    {
        SaveSetting(App, Section, QStringLiteral("MainLeft"), QStringLiteral("1234"));
        {
            MainWindowFixture fixture;
            fixture.main()->showMinimized();
        }
        QCOMPARE(Stored("MainLeft"), QStringLiteral("1234"));
        QCOMPARE(Stored("MainTop"), QStringLiteral("<none>"));
    }

    void valueThatIsNoNumberFallsBackToItsDefault()
    {
        SaveSetting(App, Section, QStringLiteral("MainLeft"), QStringLiteral("links"));
        SaveSetting(App, Section, QStringLiteral("MainTop"), QStringLiteral("1440"));
        SaveSetting(App, Section, QStringLiteral("MainWidth"), QStringLiteral(""));
        MainWindowFixture fixture;
        const QRect frame = fixture.main()->frameGeometry();
        QCOMPARE(frame.left(), TwipsToPixelsX(1000));
        QCOMPARE(frame.top(), TwipsToPixelsY(1440));
        QCOMPARE(frame.width(), TwipsToPixelsX(6500));
    }

    void showErrorTitlesTheFailureByObjectAndProcedure_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("description") << QStringLiteral("Datei nicht gefunden.");
        QTest::newRow("empty") << QString();
    }

    void showErrorTitlesTheFailureByObjectAndProcedure()
    {
        QFETCH(QString, description);
        RecordingPrompt prompt;
        try {
            throw Failure(description);
        } catch (...) {
            ShowError(QStringLiteral("frmDocument"), QStringLiteral("LoadDoc"));
        }
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].prompt, description);
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Fehler in frmDocument.LoadDoc"));
        QCOMPARE(prompt.messages[0].icon, Prompt::Icon::Critical);
    }

    // A failure nothing else handled stops at the command: shown, pointer
    // reset, windows still there.
    void commandBoundaryReportsUnhandledFailures()
    {
        MainWindowFixture fixture;
        fixture.NewDocument();
        RecordingPrompt prompt;
        RunCommand(QStringLiteral("frmMain"), QStringLiteral("mnuOutlook_Click"), [] {
            SetMousePointer(MousePointer::Hourglass);
            throw std::runtime_error("kaputt");
        });
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Fehler in frmMain.mnuOutlook_Click"));
        QCOMPARE(prompt.messages[0].prompt, QStringLiteral("kaputt"));
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
        QVERIFY(fixture.main()->isVisible());
        QVERIFY(fixture.main()->ActiveForm());
    }

    void newFromTheMenuAndItsShortcut()
    {
        MainWindowFixture fixture;
        QApplication::setActiveWindow(fixture.main());
        QVERIFY(QTest::qWaitForWindowActive(fixture.main()));
        fixture.main()->findChild<QAction*>("mnuFileNew")->trigger();
        QTest::keyClick(fixture.main(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(Captions(fixture.main()), QStringList({"Document 1", "Document 2"}));
    }
};

ZIDEVAVI_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
