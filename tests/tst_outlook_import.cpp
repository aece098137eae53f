// Import › Outlook and the file imports through the main window, over a
// fake contact source and over the vCard address book.
#include "support/AddressBookHome.h"
#include "support/FakeContactStore.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "contacts/VCardContactStore.h"
#include "document/frmDocument.h"
#include "platform/MousePointer.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QMdiArea>
#include <QMenu>

namespace {

QString Column(const AdresseRef& adresse, const QString& key)
{
    const ColumnValue* value = adresse->m_dicSpalten.Find(key);
    return value ? value->Text() : u"<fehlt>"_qs;
}

QStringList AddressNames(const frmDocument* document)
{
    QStringList names;
    for (const auto& [key, adresse] : document->m_objFirma->m_dicAdressen)
        names << Column(adresse, u"Name"_qs);
    return names;
}

frmDocument* ImportOutlook(MainWindowFixture& fixture)
{
    fixture.main()->mnuOutlook_Click();
    return fixture.main()->ActiveForm();
}

const QStringList ColumnsInOrder = {u"Node"_qs,      u"Name"_qs,         u"Anrede"_qs, u"Typ"_qs,      u"Vorname"_qs,
                                    u"Name2"_qs,     u"Name3"_qs,        u"Titel"_qs,  u"Strasse"_qs,  u"Ort"_qs,
                                    u"PLZ"_qs,       u"Land"_qs,         u"Telefon"_qs, u"Telefon2"_qs, u"Mobiltelefon"_qs,
                                    u"Fax"_qs,       u"EMail"_qs,        u"Internet"_qs, u"Abteilung"_qs, u"Funktion"_qs};

// The address book lives below the test-mode data folder, never the user's.
void RemoveTestAddressBook()
{
    const QString folder = AddressBookFolder();
    QVERIFY(folder.contains(u"/.qttest/"_qs));
    QDir(folder).removeRecursively();
}

void CopyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QVERIFY(QFile::copy(source, target));
    }
}

}

class TestOutlookImport : public QObject
{
    Q_OBJECT

    // Keeps the books of whoever runs the tests out of them.
    AddressBookHome m_home;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void emptyFolder()
    {
        FakeContactStore store;
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        QCOMPARE(document->m_objFirma->m_dicSpalten.Keys(), (QStringList{u"Name"_qs, u"Node"_qs}));
        QCOMPARE(document->m_objFirma->m_dicSpalten.Find(u"Node"_qs)->Text(), u"1"_qs);
        QCOMPARE(document->m_objFirma->m_dicAdressen.Count(), 0);
        const TreeNodeModel& nodes = document->trvBaum->Nodes();
        QCOMPARE(nodes.Count(), 1);
        QCOMPARE(nodes.Key(0), u"Node 1"_qs);
        QCOMPARE(nodes.Text(0), u"Outlook Adressen"_qs);
        QCOMPARE(document->Caption(), u"Document 1"_qs);
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
    }

    void stepsInOrderUnderTheRightPointer()
    {
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(u"Max Muster"_qs)};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        ImportOutlook(fixture);

        // The hourglass only once the source has started; each property is
        // read as its column is written, FullName only for an empty name.
        const QStringList expected = {
            u"Application"_qs, u"Namespace MAPI"_qs, u"Folder 10 (Sanduhr)"_qs, u"Items (Sanduhr)"_qs,
            u"Sort [FullName] 0 (Sanduhr)"_qs, u"TypeName"_qs, u"LastFirstSpaceOnly"_qs, u"FullName"_qs, u"Title"_qs,
            u"Gender"_qs, u"FirstName"_qs, u"LastName"_qs, u"Suffix"_qs, u"BusinessAddressStreet"_qs,
            u"BusinessAddressCity"_qs, u"BusinessAddressPostalCode"_qs, u"BusinessAddressCountry"_qs,
            u"BusinessTelephoneNumber"_qs, u"Business2TelephoneNumber"_qs, u"MobileTelephoneNumber"_qs,
            u"BusinessFaxNumber"_qs, u"Email1Address"_qs, u"BusinessHomePage"_qs, u"Department"_qs, u"JobTitle"_qs};
        QCOMPARE(store.log, expected);
        QCOMPARE(store.lastSource, QString());
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
    }

    void distributionListDrawsNoNumber()
    {
        FakeContactStore store;
        FakeContactStore::Contact list = FakeContactStore::Person(u"B Liste"_qs);
        list.typeName = u"DistListItem"_qs;
        FakeContactStore::Contact oddType = FakeContactStore::Person(u"D Notiz"_qs);
        oddType.typeName = u"distlistitem"_qs; // only the exact name is a list
        store.contacts = {FakeContactStore::Person(u"C Cäsar"_qs), list, FakeContactStore::Person(u"A Anton"_qs),
                          oddType};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        const auto& addresses = document->m_objFirma->m_dicAdressen;
        QCOMPARE(addresses.Keys(), (QStringList{u"2"_qs, u"3"_qs, u"4"_qs}));
        QCOMPARE(AddressNames(document), (QStringList{u"A Anton"_qs, u"C Cäsar"_qs, u"D Notiz"_qs}));
        QCOMPARE(Column(*addresses.Find(u"3"_qs), u"Node"_qs), u"3"_qs);
        const TreeNodeModel& nodes = document->trvBaum->Nodes();
        QCOMPARE(nodes.Count(), 4);
        QCOMPARE(nodes.Key(nodes.Children(0).at(1)), u"Node 3"_qs);
        QCOMPARE(nodes.Text(nodes.Children(0).at(1)), u"C Cäsar"_qs);
    }

    void nameIsLastFirstOrElseFullName_data()
    {
        QTest::addColumn<QString>("lastFirst");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("LastFirstSpaceOnly") << u"Muster Max"_qs << u"Max Muster"_qs << u"Muster Max"_qs;
        QTest::newRow("FullName when empty") << QString() << u"Max Muster"_qs << u"Max Muster"_qs;
        QTest::newRow("both empty") << QString() << QString() << QString();
        QTest::newRow("blank is not empty") << u" "_qs << u"Max"_qs << u" "_qs;
    }

    void nameIsLastFirstOrElseFullName()
    {
        QFETCH(QString, lastFirst);
        QFETCH(QString, fullName);
        QFETCH(QString, expected);
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(fullName, lastFirst)};
        store.contacts[0].text.insert(u"CompanyName"_qs, u"Firma GmbH"_qs);
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);
        QCOMPARE(AddressNames(document), QStringList{expected});
        QVERIFY(prompt.messages.isEmpty());
    }

    void typIsMForMaleAndWForFemale_data()
    {
        QTest::addColumn<int>("gender");
        QTest::addColumn<QString>("expected");
        QTest::newRow("male") << 2 << u"M"_qs;
        QTest::newRow("female") << 1 << u"W"_qs;
        QTest::newRow("unspecified") << 0 << QString();
        QTest::newRow("other value") << 3 << QString();
    }

    void typIsMForMaleAndWForFemale()
    {
        QFETCH(int, gender);
        QFETCH(QString, expected);
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(u"X"_qs)};
        store.contacts[0].gender = gender;
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);
        QCOMPARE(Column(*document->m_objFirma->m_dicAdressen.Find(u"2"_qs), u"Typ"_qs), expected);
    }

    void columnsInTheirOrderWithTheirProperties()
    {
        FakeContactStore store;
        FakeContactStore::Contact contact;
        for (const QString& property :
             {u"FullName"_qs, u"LastFirstSpaceOnly"_qs, u"Title"_qs, u"FirstName"_qs, u"LastName"_qs, u"Suffix"_qs,
              u"BusinessAddressStreet"_qs, u"BusinessAddressCity"_qs, u"BusinessAddressPostalCode"_qs,
              u"BusinessAddressCountry"_qs, u"BusinessTelephoneNumber"_qs, u"Business2TelephoneNumber"_qs,
              u"MobileTelephoneNumber"_qs, u"BusinessFaxNumber"_qs, u"Email1Address"_qs, u"BusinessHomePage"_qs,
              u"Department"_qs, u"JobTitle"_qs})
            contact.text.insert(property, property);
        contact.gender = 1;
        store.contacts = {contact, contact};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        for (const auto& [key, adresse] : document->m_objFirma->m_dicAdressen) {
            QCOMPARE(adresse->m_dicSpalten.Keys(), ColumnsInOrder);
            QStringList values;
            for (const auto& [column, value] : adresse->m_dicSpalten)
                values << value.Text();
            QCOMPARE(values.mid(1),
                     (QStringList{u"LastFirstSpaceOnly"_qs, u"Title"_qs, u"W"_qs, u"FirstName"_qs, u"LastName"_qs,
                                  QString(), u"Suffix"_qs, u"BusinessAddressStreet"_qs, u"BusinessAddressCity"_qs,
                                  u"BusinessAddressPostalCode"_qs, u"BusinessAddressCountry"_qs,
                                  u"BusinessTelephoneNumber"_qs, u"Business2TelephoneNumber"_qs,
                                  u"MobileTelephoneNumber"_qs, u"BusinessFaxNumber"_qs, u"Email1Address"_qs,
                                  u"BusinessHomePage"_qs, u"Department"_qs, u"JobTitle"_qs}));
            QVERIFY(adresse->m_dicSpalten.Find(u"Node"_qs)->IsNumber());
        }
    }

    void orderOfFullNameNotOfName()
    {
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(u"Zoe Adler"_qs, u"Adler Zoe"_qs),
                          FakeContactStore::Person(u"Anna Zink"_qs, u"Zink Anna"_qs)};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);
        QCOMPARE(AddressNames(document), (QStringList{u"Zink Anna"_qs, u"Adler Zoe"_qs}));
    }

    void startFailure_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::newRow("application") << u"Application"_qs;
        QTest::newRow("namespace") << u"Namespace"_qs;
    }

    void startFailure()
    {
        QFETCH(QString, failAt);
        FakeContactStore store;
        store.failAt = failAt;
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, u"Fehler in frmDocument.InitializeOutlook"_qs);
        QCOMPARE(prompt.messages[0].prompt, u"Kontaktquelle versagt bei "_qs + failAt);
        QCOMPARE(prompt.messages[0].icon, Prompt::Icon::Critical);
        QVERIFY(!document->m_objFirma);
        QCOMPARE(document->trvBaum->Nodes().Count(), 0);
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
        QVERIFY(!store.log.join(u'|').contains(u"Folder"_qs));
    }

    void failureAfterStart_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<QString>("failOnProperty");
        QTest::addColumn<QString>("description");
        QTest::newRow("folder") << u"Folder"_qs << QString() << u"Kontaktquelle versagt bei Folder"_qs;
        QTest::newRow("items") << u"Items"_qs << QString() << u"Kontaktquelle versagt bei Items"_qs;
        QTest::newRow("sort") << u"Sort"_qs << QString() << u"Kontaktquelle versagt bei Sort"_qs;
        QTest::newRow("property") << QString() << u"Department"_qs << u"Eigenschaft Department nicht lesbar"_qs;
        QTest::newRow("gender") << QString() << u"Gender"_qs << u"Eigenschaft Gender nicht lesbar"_qs;
    }

    void failureAfterStart()
    {
        QFETCH(QString, failAt);
        QFETCH(QString, failOnProperty);
        QFETCH(QString, description);
        FakeContactStore store;
        store.failAt = failAt;
        store.failOnProperty = failOnProperty;
        store.contacts = {FakeContactStore::Person(u"A"_qs), FakeContactStore::Person(u"B"_qs)};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, u"Fehler in frmDocument.LoadOutlook"_qs);
        QCOMPARE(prompt.messages[0].prompt, description);
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
        QCOMPARE(fixture.main()->MdiArea()->subWindowList().size(), 1);
        QCOMPARE(fixture.main()->ActiveForm(), document);
        QCOMPARE(document->trvBaum->Nodes().Count(), 0);
    }

    void menuEntriesOpenNewWindows()
    {
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(u"A"_qs)};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        fixture.NewDocument();
        auto* outlook = fixture.main()->findChild<QAction*>(u"mnuOutlook"_qs);
        QVERIFY(outlook);
        outlook->trigger();
        QCOMPARE(fixture.main()->MdiArea()->subWindowList().size(), 2);
        QCOMPARE(fixture.main()->ActiveForm()->Caption(), u"Document 2"_qs);
        QCOMPARE(fixture.main()->ActiveForm()->m_objFirma->m_dicAdressen.Count(), 1);
    }

    // The file entries follow "Outlook" in the Import menu. Each opens a new
    // window and asks for the file; a cancel leaves that window empty.
    void fileEntries_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("vCard") << u"vCard-Datei..."_qs << u"vCard-Datei importieren"_qs
                               << u"vCard-Dateien (*.vcf)|*.vcf"_qs;
        QTest::newRow("Outlook CSV") << u"Outlook-CSV-Datei..."_qs << u"Outlook-CSV-Datei importieren"_qs
                                     << u"CSV-Dateien (*.csv)|*.csv"_qs;
    }

    void fileEntries()
    {
        QFETCH(QString, caption);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        FakeContactStore store;
        store.contacts = {FakeContactStore::Person(u"A"_qs)};
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        fixture.NewDocument();

        const QList<QAction*> entries = fixture.main()->findChild<QMenu*>(u"mnuImport"_qs)->actions();
        QStringList captions;
        for (const QAction* entry : entries)
            captions << entry->text();
        QCOMPARE(captions.mid(0, 3), (QStringList{u"Outlook"_qs, u"vCard-Datei..."_qs, u"Outlook-CSV-Datei..."_qs}));
        QAction* entry = entries[captions.indexOf(caption)];

        entry->trigger();
        QCOMPARE(prompt.fileRequests.size(), 1);
        QCOMPARE(prompt.fileRequests[0].title, title);
        QCOMPARE(prompt.fileRequests[0].filter, filter);
        QCOMPARE(prompt.fileRequests[0].kind, Prompt::FileRequest::Kind::Open);
        QCOMPARE(fixture.main()->MdiArea()->subWindowList().size(), 2);
        QCOMPARE(fixture.main()->ActiveForm()->Caption(), u"Document 2"_qs);
        QCOMPARE(fixture.main()->ActiveForm()->trvBaum->Nodes().Count(), 0);

        prompt.fileAnswers.enqueue(u"/tmp/kontakte"_qs);
        entry->trigger();
        QCOMPARE(fixture.main()->MdiArea()->subWindowList().size(), 3);
        QCOMPARE(fixture.main()->ActiveForm()->Caption(), u"Document 3"_qs);
        QCOMPARE(store.lastSource, u"/tmp/kontakte"_qs);
        QCOMPARE(AddressNames(fixture.main()->ActiveForm()), QStringList{u"A"_qs});
        QVERIFY(prompt.messages.isEmpty());
    }

    void missingAddressBookNamesTheFolder()
    {
        RemoveTestAddressBook();
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);

        QCOMPARE(prompt.messages.size(), 1);
        QCOMPARE(prompt.messages[0].title, u"Fehler in frmDocument.InitializeOutlook"_qs);
        QVERIFY2(prompt.messages[0].prompt.contains(AddressBookFolder()), qPrintable(prompt.messages[0].prompt));
        QCOMPARE(document->trvBaum->Nodes().Count(), 0);
        QCOMPARE(CurrentMousePointer(), MousePointer::Default);
    }

    void addressBookFolder()
    {
        RemoveTestAddressBook();
        CopyTree(QStringLiteral(ZIDEVAVI_TEST_DATA "/vcards/addressbook"), AddressBookFolder());
        RecordingPrompt prompt;
        MainWindowFixture fixture;
        frmDocument* document = ImportOutlook(fixture);
        RemoveTestAddressBook();

        QVERIFY(prompt.messages.isEmpty());
        // Every *.vcf below the folder, the group card left out, in the
        // German order of the full names.
        QCOMPARE(AddressNames(document),
                 (QStringList{u"apfel Carl"_qs, u"Ärger Anton"_qs, u"Erika Zander"_qs, u"Ölmann Berta"_qs}));
        const AdresseRef erika = *document->m_objFirma->m_dicAdressen.Find(u"4"_qs);
        QCOMPARE(Column(erika, u"Anrede"_qs), u"Frau"_qs);
        QCOMPARE(Column(erika, u"Titel"_qs), u"Dr."_qs);
        QCOMPARE(Column(erika, u"Typ"_qs), u"W"_qs);
        QCOMPARE(Column(erika, u"Strasse"_qs), u"Postfach 12\r\nHauptstraße 1"_qs);
        QCOMPARE(Column(erika, u"Ort"_qs), u"Köln"_qs);
        QCOMPARE(Column(erika, u"Abteilung"_qs), u"Einkauf"_qs);
    }
};

ZIDEVAVI_TEST_MAIN(TestOutlookImport)
#include "tst_outlook_import.moc"
