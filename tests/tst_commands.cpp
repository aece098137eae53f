// The main window's commands, driven the way a user drives them: menu
// entries, toolbar buttons and shortcuts, with the dialogs answered.
#include "FakeContactStore.h"
#include "MainWindowFixture.h"
#include "RecordingPrompt.h"
#include "TestMain.h"

#include "document/frmDocument.h"
#include "info/frmAbout.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <tuple>

namespace {

QStringList Captions(frmMain* main)
{
    QStringList captions;
    for (QMdiSubWindow* window : main->MdiArea()->subWindowList())
        captions.append(window->widget()->windowTitle());
    return captions;
}

void Trigger(frmMain* main, const char* entry)
{
    auto* action = main->findChild<QAction*>(QString::fromLatin1(entry));
    QVERIFY2(action, entry);
    action->trigger();
}

void ClickToolbar(frmMain* main, const QString& key)
{
    for (QAction* action : main->findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions()) {
        if (action->data().toString() == key) {
            action->trigger();
            return;
        }
    }
    QFAIL("no such toolbar button");
}

// A small document in the window: the company and two addresses.
void FillDocument(frmDocument* document)
{
    auto firma = std::make_shared<clsFirma>();
    firma->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    firma->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Firma"));
    for (qint32 number : {2, 3}) {
        auto adresse = std::make_shared<clsAdresse>();
        adresse->m_dicSpalten.Assign(QStringLiteral("Node"), number);
        adresse->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Adresse %1").arg(number));
        adresse->m_dicSpalten.Assign(QStringLiteral("Ort"), QStringLiteral("Köln & Bonn"));
        firma->m_dicAdressen.Add(QString::number(number), adresse);
    }
    document->m_objFirma = firma;
    firma->ShowTree(*document->trvBaum);
    document->m_lngID = 3;
}

// A contact with every property the import reads.
FakeContactStore::Contact FullContact(const QString& first, const QString& last, qint32 gender)
{
    FakeContactStore::Contact contact = FakeContactStore::Person(first + u' ' + last, last + u' ' + first);
    const char* properties[] = {"Title", "FirstName", "LastName", "Suffix", "BusinessAddressStreet",
                                "BusinessAddressCity", "BusinessAddressPostalCode", "BusinessAddressCountry",
                                "BusinessTelephoneNumber", "Business2TelephoneNumber", "MobileTelephoneNumber",
                                "BusinessFaxNumber", "Email1Address", "BusinessHomePage", "Department", "JobTitle"};
    for (const char* property : properties)
        contact.text.insert(QString::fromLatin1(property), QString());
    contact.text[u"FirstName"_qs] = first;
    contact.text[u"LastName"_qs] = last;
    contact.text[u"BusinessAddressStreet"_qs] = u"Haus A\r\nHaus B"_qs;
    contact.text[u"BusinessAddressCity"_qs] = u"Köln"_qs;
    contact.text[u"Department"_qs] = u"Bau & Holz <Nord>"_qs;
    contact.text[u"Email1Address"_qs] = first.toLower() + u"@example.de"_qs;
    contact.gender = gender;
    return contact;
}

// Every record's columns, depth first, one line each.
QStringList Describe(const clsFirma& firma)
{
    QStringList lines;
    auto columns = [](const clsDictionary<ColumnValue>& dictionary) {
        QStringList pairs;
        for (const auto& [key, value] : dictionary)
            pairs << key + u'=' + value.Text();
        return pairs.join(u'|');
    };
    lines << columns(firma.m_dicSpalten);
    for (const auto& [key, adresse] : firma.m_dicAdressen)
        lines << key + u':' + columns(adresse->m_dicSpalten);
    return lines;
}

QLineEdit* Field(frmDocument* document, const char* name)
{
    return document->findChild<QLineEdit*>(QString::fromLatin1(name));
}

}

class CommandsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString PathIn(const QString& name) const { return m_folder.filePath(name); }

private slots:
    void init() { QApplication::clipboard()->clear(); }

    void commandsWithoutWindowDoNothing_data()
    {
        QTest::addColumn<QString>("entry");
        for (const char* entry : {"mnuFileSave", "mnuFileSaveAs", "mnuFileClose", "mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
            QTest::newRow(entry) << QString::fromLatin1(entry);
    }

    void commandsWithoutWindowDoNothing()
    {
        QFETCH(QString, entry);
        MainWindowFixture fixture;
        RecordingPrompt prompt;
        QApplication::clipboard()->setText(QStringLiteral("unverändert"));
        Trigger(fixture.main(), entry.toLatin1().constData());
        QVERIFY(prompt.messages.isEmpty());
        QVERIFY(prompt.fileRequests.isEmpty());
        QVERIFY(fixture.main()->MdiArea()->subWindowList().isEmpty());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("unverändert"));
    }

    void saveOnAnEmptyWindowSaysThereIsNothing_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<QString>("entry");
        QTest::newRow("menu Speichern") << false << QStringLiteral("mnuFileSave");
        QTest::newRow("menu Speichern unter") << false << QStringLiteral("mnuFileSaveAs");
        QTest::newRow("toolbar Speichern") << true << QString();
    }

    void saveOnAnEmptyWindowSaysThereIsNothing()
    {
        QFETCH(bool, fromToolbar);
        QFETCH(QString, entry);
        MainWindowFixture fixture;
        fixture.NewDocument();
        RecordingPrompt prompt;
        if (fromToolbar)
            ClickToolbar(fixture.main(), QStringLiteral("Speichern"));
        else
            Trigger(fixture.main(), entry.toLatin1().constData());
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].prompt, QStringLiteral("Es gibt nichts zu speichern"));
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Zidevavi"));
        QCOMPARE(prompt.messages[0].icon, Prompt::Icon::None);
        QVERIFY(prompt.fileRequests.isEmpty());
    }

    void saveAsksForTheNameAndCaptionsTheWindowWithIt()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        FillDocument(document);
        RecordingPrompt prompt;
        const QString path = PathIn(QStringLiteral("adressen.xml"));
        prompt.fileAnswers.enqueue(path);
        ClickToolbar(fixture.main(), QStringLiteral("Speichern"));

        QCOMPARE(prompt.fileRequests.size(), 1);
        QCOMPARE(prompt.fileRequests[0].title, QStringLiteral("Speichern"));
        QCOMPARE(prompt.fileRequests[0].filter, QStringLiteral("XML Dateien (*xml)|*.xml"));
        QCOMPARE(prompt.fileRequests[0].kind, Prompt::FileRequest::Kind::Save);
        QCOMPARE(prompt.fileRequests[0].defaultSuffix, QStringLiteral("xml"));
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(document->Caption(), path);
        QVERIFY(QFileInfo(path).size() > 0);

        // Save always asks again, and the dialog starts where the last one ended.
        Trigger(fixture.main(), "mnuFileSaveAs");
        QCOMPARE(prompt.fileRequests.size(), 2);
        QCOMPARE(prompt.fileRequests[1].directory, m_folder.path());
        QCOMPARE(document->Caption(), path);
    }

    void failedSaveIsReportedAndTheCaptionStillChanges()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        FillDocument(document);
        RecordingPrompt prompt;
        const QString path = PathIn(QStringLiteral("fehlt/adressen.xml"));
        prompt.fileAnswers.enqueue(path);
        Trigger(fixture.main(), "mnuFileSave");
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, QStringLiteral("Fehler in frmDocument.SaveDoc"));
        QCOMPARE(document->Caption(), path);
    }

    void cancelledSaveChangesNothing()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        FillDocument(document);
        RecordingPrompt prompt;
        Trigger(fixture.main(), "mnuFileSave");
        QCOMPARE(prompt.fileRequests.size(), 1);
        QCOMPARE(document->Caption(), QStringLiteral("Document 1"));
    }

    void openWithoutWindowOpensOneFirst_cancelKeepsItEmpty()
    {
        MainWindowFixture fixture;
        RecordingPrompt prompt;
        ClickToolbar(fixture.main(), QStringLiteral("Öffnen"));
        QCOMPARE(prompt.fileRequests.size(), 1);
        QCOMPARE(prompt.fileRequests[0].title, QStringLiteral("Öffnen"));
        QCOMPARE(prompt.fileRequests[0].filter, QStringLiteral("XML Dateien (*xml)|*.xml"));
        QCOMPARE(prompt.fileRequests[0].kind, Prompt::FileRequest::Kind::Open);
        QCOMPARE(Captions(fixture.main()), QStringList{"Document 1"});
        QCOMPARE(fixture.main()->ActiveForm()->trvBaum->Nodes().Count(), 0);
    }

    void openLoadsIntoTheActiveWindow()
    {
        MainWindowFixture fixture;
        frmDocument* source = fixture.NewDocument();
        FillDocument(source);
        source->SaveDoc(PathIn(QStringLiteral("quelle.xml")));

        frmDocument* target = fixture.NewDocument();
        RecordingPrompt prompt;
        prompt.fileAnswers.enqueue(PathIn(QStringLiteral("quelle.xml")));
        QApplication::setActiveWindow(fixture.main());
        QVERIFY(QTest::qWaitForWindowActive(fixture.main()));
        QTest::keyClick(fixture.main(), Qt::Key_O, Qt::ControlModifier);

        QCOMPARE(Captions(fixture.main()).size(), 2);
        QCOMPARE(target->Caption(), PathIn(QStringLiteral("quelle.xml")));
        QCOMPARE(target->trvBaum->Nodes().Count(), 3);
        QCOMPARE(target->m_lngID, 3);
        QVERIFY(prompt.messages.isEmpty());
    }

    // After Öffnen into a window that showed an address, nothing of it is
    // left, and the keyboard works in the new tree at once.
    void openingOrImportingLeavesTheRootCurrentAndNoAddressShown_data()
    {
        QTest::addColumn<bool>("import");
        QTest::newRow("Öffnen") << false;
        QTest::newRow("Import") << true;
    }

    void openingOrImportingLeavesTheRootCurrentAndNoAddressShown()
    {
        QFETCH(bool, import);
        MainWindowFixture fixture;
        FakeContactStore store;
        store.contacts = {FullContact(u"Erika"_qs, u"Mustermann"_qs, 1), FullContact(u"Max"_qs, u"Muster"_qs, 2)};
        RecordingPrompt prompt;
        frmDocument* document = fixture.NewDocument();
        FillDocument(document);
        document->SaveDoc(PathIn(QStringLiteral("zwei.xml")));
        document->trvBaum->SelectItem(1);
        document->m_objAktAdresse = *document->m_objFirma->m_dicAdressen.Find(QStringLiteral("2"));
        document->ShowAdresse();
        QCOMPARE(Field(document, "txtOrt")->text(), QStringLiteral("Köln & Bonn"));

        if (import) {
            Trigger(fixture.main(), "mnuOutlook");
            document = fixture.main()->ActiveForm();
        } else {
            prompt.fileAnswers.enqueue(PathIn(QStringLiteral("zwei.xml")));
            Trigger(fixture.main(), "mnuFileOpen");
        }
        QVERIFY(prompt.messages.isEmpty());
        QVERIFY(!document->m_objAktAdresse);
        for (QLineEdit* field : document->findChildren<QLineEdit*>())
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        clsTreeView* tree = document->trvBaum;
        QCOMPARE(TreeNodeModel::NodeOf(tree->currentIndex()), 0);
        QTest::keyClick(tree, Qt::Key_Asterisk);
        QVERIFY(tree->isExpanded(tree->Nodes().IndexOf(0)));
        QTest::keyClick(tree, Qt::Key_End);
        QCOMPARE(tree->SelectedItem(), 2);
        QVERIFY(!Field(document, "txtName")->text().isEmpty());
    }

    void importAlwaysOpensANewWindowNumberedAfterTheOthers()
    {
        MainWindowFixture fixture;
        FakeContactStore store;
        store.contacts = {FullContact(u"Erika"_qs, u"Mustermann"_qs, 1)};
        fixture.NewDocument();
        fixture.NewDocument();
        Trigger(fixture.main(), "mnuFileClose");
        Trigger(fixture.main(), "mnuOutlook");
        QTest::qWait(0);
        QCOMPARE(Captions(fixture.main()), QStringList({"Document 1", "Document 3"}));
        frmDocument* imported = fixture.main()->ActiveForm();
        QCOMPARE(imported->Caption(), QStringLiteral("Document 3"));
        QCOMPARE(imported->trvBaum->Nodes().Count(), 2);
        QCOMPARE(imported->m_lngID, 2);
    }

    // New, Import, Save, Close, Open: the same records come back, renumbered
    // in the same order.
    void importedDocumentSurvivesSaveAndOpen()
    {
        MainWindowFixture fixture;
        FakeContactStore store;
        store.contacts = {FullContact(u"Zoë"_qs, u"Łukasiewicz"_qs, 2), FullContact(u"Erika"_qs, u"Mustermann"_qs, 1)};
        RecordingPrompt prompt;
        Trigger(fixture.main(), "mnuFileNew");
        Trigger(fixture.main(), "mnuOutlook");
        frmDocument* imported = fixture.main()->ActiveForm();
        const QStringList before = Describe(*imported->m_objFirma);

        const QString path = PathIn(u"import.xml"_qs);
        prompt.fileAnswers.enqueue(path);
        Trigger(fixture.main(), "mnuFileSave");
        Trigger(fixture.main(), "mnuFileClose");
        QTest::qWait(0);
        Trigger(fixture.main(), "mnuFileClose");
        QTest::qWait(0);
        QVERIFY(fixture.main()->MdiArea()->subWindowList().isEmpty());

        prompt.fileAnswers.enqueue(path);
        Trigger(fixture.main(), "mnuFileOpen");
        frmDocument* opened = fixture.main()->ActiveForm();
        QVERIFY2(prompt.messages.isEmpty(), qPrintable(prompt.messages.value(0).prompt));
        QCOMPARE(opened->Caption(), path);
        // Read back, every value is text, and the company's columns are in file order.
        QStringList expected = before;
        expected[0] = u"Node=1|Name=Outlook Adressen"_qs;
        QCOMPARE(Describe(*opened->m_objFirma), expected);
    }

    void closeClosesOnlyTheActiveWindow()
    {
        MainWindowFixture fixture;
        fixture.NewDocument();
        fixture.NewDocument();
        Trigger(fixture.main(), "mnuFileClose");
        QTest::qWait(0);
        QCOMPARE(Captions(fixture.main()), QStringList{"Document 1"});
    }

    void exitClosesTheMainWindow()
    {
        MainWindowFixture fixture;
        QPointer<frmDocument> document = fixture.NewDocument();
        Trigger(fixture.main(), "mnuFileExit");
        QTest::qWait(0);
        QVERIFY(!fixture.main()->isVisible());
        QVERIFY(!document);
    }

    // Nothing typed into a field could reach a record, so nothing can be.
    void fieldsCanBeCopiedButNotChanged()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        QLineEdit* name = Field(document, "txtName");
        name->setText(QStringLiteral("Erika Mustermann"));
        QApplication::setActiveWindow(fixture.main());
        QVERIFY(QTest::qWaitForWindowActive(fixture.main()));
        name->setFocus();
        name->setCursorPosition(0);
        QTest::keyClick(name, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QTest::keyClicks(name, QStringLiteral("getippt"));
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(name->text(), QStringLiteral("Erika Mustermann"));
        QCOMPARE(name->selectedText().trimmed(), QStringLiteral("Erika"));

        Trigger(fixture.main(), "mnuEditCopy");
        QCOMPARE(QApplication::clipboard()->text().trimmed(), QStringLiteral("Erika"));
        QApplication::clipboard()->setText(QStringLiteral("Max"));
        ClickToolbar(fixture.main(), QStringLiteral("Einfügen"));
        ClickToolbar(fixture.main(), QStringLiteral("Ausschneiden"));
        QCOMPARE(name->text(), QStringLiteral("Erika Mustermann"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Max"));
    }

    // Alt+B takes the keyboard to the menu bar; the field's selection must
    // still be there when the command runs.
    void editCommandsFromTheKeyboardMenu_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("Alt+B A") << int(Qt::Key_A) << u"Erika Mustermann"_qs << u"Max"_qs;
        QTest::newRow("Alt+B K") << int(Qt::Key_K) << u"Erika Mustermann"_qs << u"Erika"_qs;
        QTest::newRow("Alt+B E") << int(Qt::Key_E) << u"Erika Mustermann"_qs << u"Max"_qs;
    }

    void editCommandsFromTheKeyboardMenu()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        MainWindowFixture fixture;
        QLineEdit* name = Field(fixture.NewDocument(), "txtName");
        QApplication::setActiveWindow(fixture.main());
        QVERIFY(QTest::qWaitForWindowActive(fixture.main()));
        name->setText(u"Erika Mustermann"_qs);
        name->setFocus();
        name->setSelection(0, 5);
        QApplication::clipboard()->setText(u"Max"_qs);

        QTest::keyClick(fixture.main()->windowHandle(), Qt::Key_B, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(key));

        QCOMPARE(name->text(), text);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(QApplication::focusWidget(), name);
    }

    void editCommandsLeaveTheTreeAlone()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        FillDocument(document);
        document->trvBaum->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("Zwischenablage"));
        Trigger(fixture.main(), "mnuEditCut");
        Trigger(fixture.main(), "mnuEditPaste");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Zwischenablage"));
        QCOMPARE(document->trvBaum->Nodes().Text(0), QStringLiteral("Firma"));
    }

    // Firma (1): Müller (2) holding Schmidt (3, "MÜLLERSTRASSE") holding
    // Meier (4), and Zeller (5).
    void findGoesThroughEveryAddressInTreeOrderAndWrapsOnce()
    {
        MainWindowFixture fixture;
        frmDocument* document = fixture.NewDocument();
        auto firma = std::make_shared<clsFirma>();
        firma->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
        firma->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Firma Müller"));
        std::vector<AdresseRef> records;
        for (const auto& [number, name, street] : {std::tuple(2, "Müller", ""), std::tuple(3, "Schmidt", "MÜLLERSTRASSE"),
                                                   std::tuple(4, "Meier", ""), std::tuple(5, "Zeller", "")}) {
            auto adresse = std::make_shared<clsAdresse>();
            adresse->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(number));
            adresse->m_dicSpalten.Assign(QStringLiteral("Name"), QString::fromUtf8(name));
            adresse->m_dicSpalten.Assign(QStringLiteral("Strasse"), QString::fromUtf8(street));
            records.push_back(adresse);
        }
        records[1]->m_dicAdressen.Add(QStringLiteral("4"), records[2]);
        records[0]->m_dicAdressen.Add(QStringLiteral("3"), records[1]);
        firma->m_dicAdressen.Add(QStringLiteral("2"), records[0]);
        firma->m_dicAdressen.Add(QStringLiteral("5"), records[3]);
        document->m_objFirma = firma;
        firma->ShowTree(*document->trvBaum);
        document->trvBaum->SelectItem(2);

        RecordingPrompt prompt;
        for (const QString& answer : {u"müller"_qs, u"Meier"_qs, u"4"_qs})
            prompt.textAnswers.enqueue(answer);
        QApplication::setActiveWindow(fixture.main());
        QVERIFY(QTest::qWaitForWindowActive(fixture.main()));
        QStringList found;
        const auto find = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(fixture.main(), key, modifiers);
            found.append(Field(document, "txtName")->text());
        };
        // From Schmidt on: the company is no address, Müller comes after wrapping.
        find(Qt::Key_F, Qt::ControlModifier);
        find(Qt::Key_F3, {});
        find(Qt::Key_F3, {});
        QCOMPARE(found, QStringList({"Müller", "Schmidt", "Müller"}));
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(document->m_objAktAdresse, records[0]);

        // A hit below collapsed nodes is brought into sight, and shown.
        document->trvBaum->collapseAll();
        find(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(prompt.textRequests[1].proposed, QStringLiteral("müller"));
        QCOMPARE(prompt.textRequests[1].title, QStringLiteral("Suchen"));
        QCOMPARE(document->trvBaum->SelectedItem(), 3);
        QVERIFY(document->trvBaum->isExpanded(document->trvBaum->Nodes().IndexOf(2)));
        QCOMPARE(found.last(), QStringLiteral("Meier"));

        // The record number is never shown, so never found; the selection stays.
        find(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].prompt, QStringLiteral("„4“ wurde nicht gefunden."));
        QCOMPARE(document->trvBaum->SelectedItem(), 3);
    }

    void aboutIsModalAndOwnedByTheMainWindow()
    {
        MainWindowFixture fixture;
        bool aboutWasModal = false;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            aboutWasModal = about != nullptr;
            if (about) {
                owner = about->parentWidget();
                QTest::keyClick(about, Qt::Key_Escape);
            }
        });
        Trigger(fixture.main(), "mnuHelpAbout");
        QVERIFY(aboutWasModal);
        QCOMPARE(owner, fixture.main());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void toolbarKeysAreComparedExactly()
    {
        MainWindowFixture fixture;
        RecordingPrompt prompt;
        fixture.main()->tbToolBar_ButtonClick(QStringLiteral("öffnen"));
        fixture.main()->tbToolBar_ButtonClick(QStringLiteral("Speichern "));
        fixture.main()->tbToolBar_ButtonClick(QString());
        QVERIFY(prompt.fileRequests.isEmpty());
        QVERIFY(fixture.main()->MdiArea()->subWindowList().isEmpty());
    }
};

ZIDEVAVI_TEST_MAIN(CommandsTest)
#include "tst_commands.moc"
