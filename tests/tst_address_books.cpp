// Import › Outlook over a home of the test's own that holds every kind of
// address book (the vCard folder, Evolution's books, Thunderbird's profile)
// with the troubles real books have: a running Thunderbird holding its book
// locked with the newest cards only in the log, an Evolution book locked by
// a writer, a journal left by a crash, a damaged file, a table missing and a
// file nobody may read.
#include "support/AddressBookHome.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "document/frmDocument.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <unistd.h>

namespace {

using Card = AddressBookHome::ThunderbirdCard;

struct Imported
{
    FirmaRef firma;
    int treeNodes = 0;
    QList<RecordingPrompt::Message> messages;
};

Imported ImportOutlook()
{
    RecordingPrompt prompt;
    MainWindowFixture fixture;
    fixture.main()->mnuOutlook_Click();
    const frmDocument* document = fixture.main()->ActiveForm();
    return {document->m_objFirma, document->trvBaum->Nodes().Count(), prompt.messages};
}

QStringList Names(const FirmaRef& firma)
{
    QStringList names;
    if (firma) {
        for (const auto& [key, adresse] : firma->m_dicAdressen)
            names << adresse->m_dicSpalten.Find(u"Name"_qs)->Text();
    }
    return names;
}

QByteArray VCard30(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
}

QByteArray VCard40(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:4.0\r\n" + lines + "END:VCARD\r\n";
}

// A card as Thunderbird 102 and later keep it: the vCard and the copies of
// a few fields it keeps for looking up.
Card ThunderbirdVCard(const QString& uid, const QString& displayName, const QByteArray& vcard)
{
    return {uid, {{u"DisplayName"_qs, displayName}, {u"LastModifiedDate"_qs, u"1714557600"_qs},
                  {u"_vCard"_qs, QString::fromUtf8(vcard)}}};
}

// A card as Evolution keeps it in the cache of a server book: rewritten as
// vCard 3.0 whatever the server had, folded at 75 bytes, the server's ETag
// appended.
QByteArray EvolutionServerCard(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "X-EVOLUTION-WEBDAV-ETAG:\"6f1e2d3c\"\r\nEND:VCARD";
}

// Root may read a file whatever its permissions say, so for root the file
// is a link to the process's own memory, whose first page nobody can read.
void MakeUnreadable(const AddressBookHome& home, const QString& path)
{
    if (geteuid() == 0) {
        QVERIFY(QFile::link(u"/proc/self/mem"_qs, path));
    } else {
        home.WriteFile(path, VCard30("FN:Geheim\r\n"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    }
}

void CopyOver(const QString& from, const QString& to)
{
    QFile::remove(to);
    QVERIFY(QFile::copy(from, to));
}

void WriteProfilesIni(const AddressBookHome& home, const QString& root, const QByteArray& profiles,
                      const QByteArray& installs)
{
    home.WriteFile(root + u"/profiles.ini"_qs, profiles);
    if (!installs.isEmpty())
        home.WriteFile(root + u"/installs.ini"_qs, installs);
}

const QByteArray TwoProfiles = "[Profile1]\nName=default\nIsRelative=1\nPath=aaaa.default\nDefault=1\n\n"
                               "[Profile0]\nName=default-release\nIsRelative=1\nPath=bbbb.default-release\n\n"
                               "[General]\nStartWithLastProfile=1\nVersion=2\n";

}

class TestAddressBooks : public QObject
{
    Q_OBJECT

    std::unique_ptr<AddressBookHome> m_home;
    std::unique_ptr<FixtureDatabase> m_evolutionWriter;
    std::unique_ptr<FixtureDatabase> m_runningThunderbird;
    QMap<QString, QByteArray> m_filesBefore;
    Imported m_imported;

    AdresseRef Named(const QString& name) const
    {
        for (const auto& [key, adresse] : m_imported.firma->m_dicAdressen) {
            if (adresse->m_dicSpalten.Find(u"Name"_qs)->Text() == name)
                return adresse;
        }
        return nullptr;
    }

    void WriteVCardFolder()
    {
        const QString folder = AddressBookHome::VCardFolder();
        m_home->WriteFile(folder + u"/kollegen/adler.vcf"_qs,
                          VCard30("UID:geteilt-1\r\nFN:Anna Adler\r\nN:Adler;Anna;;;\r\nADR;TYPE=WORK:;;;Aachen;;;\r\n"));
        MakeUnreadable(*m_home, folder + u"/kaputt.vcf"_qs);
        // A folder linked in from elsewhere, and a link back up that must not
        // lead round in circles; the card has no UID, so a second reading
        // would show.
        m_home->WriteFile(u"extern/extern.vcf"_qs, VCard30("FN:Bert Extern\r\nN:Extern;Bert;;;\r\n"));
        QVERIFY(QFile::link(m_home->Path(u"extern"_qs), folder + u"/verlinkt"_qs));
        QVERIFY(QFile::link(folder, folder + u"/kollegen/zurueck"_qs));
    }

    void WriteEvolutionBooks()
    {
        // The personal book, as Evolution writes it: folded at 75 bytes.
        AddressBookHome::WriteEvolutionBook(
            u"system"_qs,
            {VCard30("UID:pas-id-carla\r\nFN:Carla Christ\r\nN:Christ;Carla;;;\r\nX-EVOLUTION-FILE-AS:Christ\\, Carla\r\n"
                     "ADR;TYPE=WORK:;Haus B;Hauptstraße 1;Chemnitz;;09111;Deutschland\r\n"
                     "TEL;X-EVOLUTION-E164=03511:0351 1\r\nTEL;TYPE=HOME,VOICE:0351 2\r\n"
                     "EMAIL;TYPE=OTHER:carla@privat.example\r\nEMAIL;TYPE=WORK;PREF=1:carla@firma.example\r\n"
                     "NOTE:Eine lange Notiz\\, die Evolution bei fünfundsiebzig Bytes umbricht\\, damit die\r\n  "
                     "Zeile passt.\r\n"),
             VCard30("UID:pas-id-firma\r\nFN:Muster AG\r\nN:;;;;\r\nORG:Muster AG;Vertrieb\r\n"
                     "X-EVOLUTION-FILE-AS:Muster AG\r\n"),
             VCard30("UID:pas-id-team\r\nFN:Team\r\nN:;Team;;;\r\nX-EVOLUTION-LIST:TRUE\r\n"
                     "X-EVOLUTION-LIST-SHOW-ADDRESSES:TRUE\r\nEMAIL;X-EVOLUTION-DEST-CONTACT-UID=pas-id-carla:"
                     "Carla Christ <carla@firma.example>\r\n")});

        AddressBookHome::WriteEvolutionSource(u"alt"_qs, u"Altes Buch"_qs, false);
        AddressBookHome::WriteEvolutionBook(u"alt"_qs, {VCard30("FN:Egon Alt\r\nN:Alt;Egon;;;\r\n")});

        AddressBookHome::WriteEvolutionSource(u"kaputt"_qs, u"Kaputt"_qs, true);
        m_home->WriteFile(AddressBookHome::EvolutionBooks() + u"/kaputt/contacts.db"_qs,
                          QByteArray("Das ist keine Datenbank.\n").repeated(200));

        AddressBookHome::WriteEvolutionSource(u"gesperrt"_qs, u"Gesperrt"_qs, true);
        const QString locked = AddressBookHome::WriteEvolutionBook(u"gesperrt"_qs, {VCard30("FN:Fritz Fest\r\n")});
        m_evolutionWriter = std::make_unique<FixtureDatabase>(locked);
        m_evolutionWriter->Exec(u"BEGIN EXCLUSIVE"_qs);

        // A book whose writer crashed halfway through a large change: the
        // journal still holds the pages as they were before it.
        AddressBookHome::WriteEvolutionSource(u"verein"_qs, u"Verein"_qs, true);
        const QString verein = AddressBookHome::WriteEvolutionBook(
            u"verein"_qs, {VCard30("FN:Dora Dahl\r\nN:Dahl;Dora;;;\r\nADR;TYPE=WORK:;;;Dresden;;;\r\n")});
        const QString scratch = m_home->Path(u"absturz/contacts.db"_qs);
        QDir().mkpath(m_home->Path(u"absturz"_qs));
        CopyOver(verein, scratch);
        {
            FixtureDatabase crashing(scratch);
            crashing.Exec(u"PRAGMA cache_size=10; BEGIN; UPDATE folder_id SET vcard = replace(vcard, 'Dresden', "
                          "'Dortmund')"_qs);
            for (int i = 0; i < 300; ++i)
                crashing.Exec(u"INSERT INTO folder_id (uid, vcard) VALUES ('neu-%1', 'BEGIN:VCARD\r\nFN:Halb %1\r\n"
                              "NOTE:%2\r\nEND:VCARD\r\n')"_qs.arg(i).arg(QString(2000, u'x')));
            QVERIFY(QFile::exists(scratch + u"-journal"_qs));
            // The change has reached the database file, not only the cache.
            QVERIFY(QFileInfo(scratch).size() > QFileInfo(verein).size());
            CopyOver(scratch, verein);
            CopyOver(scratch + u"-journal"_qs, verein + u"-journal"_qs);
            crashing.Exec(u"ROLLBACK"_qs);
        }
    }

    void WriteThunderbirdProfile()
    {
        const QString root = m_home->Path(u".thunderbird"_qs);
        // A first start left an empty profile marked Default=1; the one in
        // use is the installation's.
        WriteProfilesIni(*m_home, root, TwoProfiles, "[8216C80C92C4E828]\nDefault=bbbb.default-release\nLocked=1\n");
        AddressBookHome::WriteThunderbirdBook(
            root + u"/aaaa.default/abook.sqlite"_qs,
            {ThunderbirdVCard(u"falsch"_qs, u"Falsch Profil"_qs, VCard40("FN:Falsch Profil\r\n"))});

        const QString profile = root + u"/bbbb.default-release/"_qs;
        m_home->WriteFile(profile + u"prefs.js"_qs,
                          "// Mozilla User Preferences\n\n"
                          "user_pref(\"ldap_2.servers.Firma.description\", \"Firma LDAP\");\n"
                          "user_pref(\"ldap_2.servers.Firma.dirType\", 0);\n"
                          "user_pref(\"ldap_2.servers.Firma.uri\", \"ldap://ldap.firma.example/dc=firma\");\n"
                          "user_pref(\"ldap_2.servers.VereinGrnWei.description\", \"Verein Gr\xC3\xBCn-Wei\xC3\x9F\");\n"
                          "user_pref(\"ldap_2.servers.VereinGrnWei.dirType\", 101);\n"
                          "user_pref(\"ldap_2.servers.VereinGrnWei.filename\", \"abook-1.sqlite\");\n"
                          "user_pref(\"ldap_2.servers.history.uid\", \"5e3a1f6b-0000-4000-8000-000000000001\");\n"
                          "user_pref(\"ldap_2.servers.pab.uid\", \"5e3a1f6b-0000-4000-8000-000000000002\");\n");

        AddressBookHome::WriteThunderbirdBook(
            profile + u"abook.sqlite"_qs,
            {ThunderbirdVCard(u"gustav"_qs, u"Gustav Grün"_qs,
                              VCard40("FN:Gustav Grün\r\nN:Grün;Gustav;;;\r\nEMAIL:gustav@privat.example\r\n"
                                      "EMAIL;PREF=1:gustav@firma.example\r\nTEL;TYPE=work;VALUE=TEXT:030 1\r\n"
                                      "ADR;TYPE=work:;3. Stock;Grünweg 1;Berlin;;10115;\r\n"
                                      "URL;TYPE=work;VALUE=URL:https://firma.example\r\nUID:gustav\r\n")),
             ThunderbirdVCard(u"hanna"_qs, u"Hanna Haas"_qs,
                              VCard30("FN:Hanna Haas\r\nN:Haas;Hanna;;;\r\nADR;TYPE=WORK:;;;Hamburg;;;\r\n")),
             // Saved by Thunderbird 91, never since.
             {u"ida"_qs,
              {{u"FirstName"_qs, u"Ida"_qs}, {u"LastName"_qs, u"Igel"_qs}, {u"DisplayName"_qs, u"Ida Igel"_qs},
               {u"PrimaryEmail"_qs, u"ida@firma.example"_qs}, {u"SecondEmail"_qs, u"ida@privat.example"_qs},
               {u"WorkPOBox"_qs, u"Postfach 7"_qs}, {u"WorkAddress2"_qs, u"Haus 2"_qs},
               {u"WorkAddress"_qs, u"Igelweg 3"_qs}, {u"WorkCity"_qs, u"Ingolstadt"_qs},
               {u"WorkZipCode"_qs, u"85049"_qs}, {u"WorkCountry"_qs, u"Deutschland"_qs},
               {u"HomeCity"_qs, u"Irgendwo"_qs}, {u"WorkPhone"_qs, u"0841 1"_qs}, {u"HomePhone"_qs, u"0841 2"_qs},
               {u"FaxNumber"_qs, u"0841 9"_qs}, {u"CellularNumber"_qs, u"0170 1"_qs},
               {u"WebPage1"_qs, u"https://igel.example"_qs}, {u"WebPage2"_qs, u"https://privat.example"_qs},
               {u"Company"_qs, u"Igel; Söhne"_qs}, {u"Department"_qs, u"Einkauf"_qs},
               {u"JobTitle"_qs, u"Leiterin"_qs}}},
             // In the vCard folder too: it comes once, from there.
             ThunderbirdVCard(u"geteilt-1"_qs, u"Anna Adler"_qs,
                              VCard40("UID:geteilt-1\r\nFN:Anna Adler\r\nADR;TYPE=work:;;;Aachen-Thunderbird;;;\r\n"))});
        AddressBookHome::WriteThunderbirdBook(
            profile + u"history.sqlite"_qs,
            {ThunderbirdVCard(u"lutz"_qs, u"Lutz Gesammelt"_qs, VCard40("FN:Lutz Gesammelt\r\n"))});
        {
            FixtureDatabase unknown(profile + u"abook-1.sqlite"_qs);
            unknown.Exec(u"CREATE TABLE lists (uid TEXT PRIMARY KEY, name TEXT, nickName TEXT, description TEXT)"_qs);
        }

        // Thunderbird running: the book held in exclusive locking mode, the
        // newest card written only to the log.
        m_runningThunderbird = std::make_unique<FixtureDatabase>(profile + u"abook.sqlite"_qs);
        m_runningThunderbird->Exec(u"PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL"_qs);
        AddressBookHome::InsertThunderbirdCards(
            m_runningThunderbird->Database(),
            {ThunderbirdVCard(u"jens"_qs, u"Jens Jung"_qs,
                              VCard40("FN:Jens Jung\r\nN:Jung;Jens;;;\r\nADR;TYPE=work:;;;Jena;;;\r\n"))});
        QVERIFY(QFileInfo(profile + u"abook.sqlite-wal"_qs).size() > 0);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_home = std::make_unique<AddressBookHome>();
        WriteVCardFolder();
        WriteEvolutionBooks();
        WriteThunderbirdProfile();
        m_filesBefore = m_home->Snapshot();
        m_imported = ImportOutlook();
    }

    void cleanupTestCase()
    {
        m_runningThunderbird.reset();
        m_evolutionWriter.reset();
        m_home.reset();
    }

    void everyReadableContactInFullNameOrder()
    {
        // The company card has no name and comes first; lists, the disabled
        // book, the other profile and the collected addresses stay out.
        QCOMPARE(Names(m_imported.firma),
                 (QStringList{QString(), u"Anna Adler"_qs, u"Bert Extern"_qs, u"Carla Christ"_qs, u"Dora Dahl"_qs,
                              u"Gustav Grün"_qs, u"Hanna Haas"_qs, u"Ida Igel"_qs, u"Jens Jung"_qs}));
        QCOMPARE(m_imported.treeNodes, 10);
    }

    void columns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* tag, const QString& name, const QString& column, const QString& expected) {
            QTest::newRow(tag) << name << column << expected;
        };
        row("company card's department", QString(), u"Abteilung"_qs, u"Vertrieb"_qs);
        row("a contact in two books comes from the first", u"Anna Adler"_qs, u"Ort"_qs, u"Aachen"_qs);
        row("Evolution: untyped phone", u"Carla Christ"_qs, u"Telefon"_qs, u"0351 1"_qs);
        row("Evolution: extended address", u"Carla Christ"_qs, u"Strasse"_qs, u"Haus B\r\nHauptstraße 1"_qs);
        row("Evolution: preferred e-mail", u"Carla Christ"_qs, u"EMail"_qs, u"carla@firma.example"_qs);
        row("Evolution: journal rolled back", u"Dora Dahl"_qs, u"Ort"_qs, u"Dresden"_qs);
        row("Thunderbird 4.0: preferred e-mail", u"Gustav Grün"_qs, u"EMail"_qs, u"gustav@firma.example"_qs);
        row("Thunderbird 4.0: work phone", u"Gustav Grün"_qs, u"Telefon"_qs, u"030 1"_qs);
        row("Thunderbird 4.0: web page", u"Gustav Grün"_qs, u"Internet"_qs, u"https://firma.example"_qs);
        row("Thunderbird: second address line after the street", u"Gustav Grün"_qs, u"Strasse"_qs,
            u"Grünweg 1\r\n3. Stock"_qs);
        row("Thunderbird 3.0 card", u"Hanna Haas"_qs, u"Ort"_qs, u"Hamburg"_qs);
        row("newest card only in the log", u"Jens Jung"_qs, u"Ort"_qs, u"Jena"_qs);

        // The columns of a card with named properties only, in their order.
        const QStringList columns = {u"Vorname"_qs, u"Name2"_qs, u"Strasse"_qs, u"Ort"_qs, u"PLZ"_qs, u"Land"_qs,
                                     u"Telefon"_qs, u"Mobiltelefon"_qs, u"Fax"_qs, u"EMail"_qs, u"Internet"_qs,
                                     u"Abteilung"_qs, u"Funktion"_qs};
        const QStringList values = {u"Ida"_qs, u"Igel"_qs, u"Postfach 7\r\nIgelweg 3\r\nHaus 2"_qs, u"Ingolstadt"_qs,
                                    u"85049"_qs, u"Deutschland"_qs, u"0841 1"_qs, u"0170 1"_qs, u"0841 9"_qs,
                                    u"ida@firma.example"_qs, u"https://igel.example"_qs, u"Einkauf"_qs,
                                    u"Leiterin"_qs};
        for (qsizetype i = 0; i < columns.size(); ++i)
            QTest::newRow(qPrintable(u"named properties: "_qs + columns[i])) << u"Ida Igel"_qs << columns[i] << values[i];
    }

    void columns()
    {
        QFETCH(QString, name);
        QFETCH(QString, column);
        QFETCH(QString, expected);
        const AdresseRef adresse = Named(name);
        QVERIFY2(adresse, qPrintable(name));
        QCOMPARE(adresse->m_dicSpalten.Find(column)->Text(), expected);
    }

    void oneMessageNamesEachSkippedBook_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const QString evolution = AddressBookHome::EvolutionBooks();
        const QString thunderbird = m_home->Path(u".thunderbird/bbbb.default-release/"_qs);
        const QString unreadable = AddressBookHome::VCardFolder() + u"/kaputt.vcf"_qs;
        QTest::newRow("unreadable vCard file")
            << u"kaputt.vcf"_qs << unreadable
            << u"Die Datei \"%1\" kann nicht gelesen werden: %2."_qs.arg(
                   unreadable, geteuid() == 0 ? u"Ein-/Ausgabefehler"_qs : u"Zugriff verweigert"_qs);
        QTest::newRow("locked") << u"Gesperrt"_qs << evolution + u"/gesperrt/contacts.db"_qs
                                << u"Das Adressbuch ist gesperrt"_qs;
        QTest::newRow("damaged") << u"Kaputt"_qs << evolution + u"/kaputt/contacts.db"_qs
                                 << u"Die Datei ist beschädigt oder keine Adressbuch-Datenbank."_qs;
        QTest::newRow("table missing") << u"Verein Grün-Weiß"_qs << thunderbird + u"abook-1.sqlite"_qs
                                       << u"Die Datenbank hat einen unbekannten Aufbau (no such table: properties)."_qs;
    }

    void oneMessageNamesEachSkippedBook()
    {
        QFETCH(QString, book);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QCOMPARE(m_imported.messages.size(), 1);
        const RecordingPrompt::Message& message = m_imported.messages.constFirst();
        QCOMPARE(message.title, u"Zidevavi"_qs);
        QCOMPARE(message.icon, Prompt::Icon::Exclamation);
        QCOMPARE(message.prompt.count(u"\u201E"_qs), 4);
        const QString entry = u"\u201E%1\u201C (%2)\n%3"_qs.arg(book, file, reason);
        QVERIFY2(message.prompt.contains(entry), qPrintable(message.prompt));
    }

    void userFilesUnchanged()
    {
        const QMap<QString, QByteArray> after = m_home->Snapshot();
        QCOMPARE(after.keys(), m_filesBefore.keys());
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            QVERIFY2(it.value() == m_filesBefore.value(it.key()), qPrintable(it.key()));
    }

    // The profile in use, wherever Thunderbird is installed from.
    void thunderbirdProfileInUse_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("profiles");
        QTest::addColumn<QByteArray>("installs");
        QTest::addColumn<QString>("expected");
        const QByteArray onlyProfile = "[Profile0]\nName=default\nIsRelative=1\nPath=aaaa.default\n";
        const QByteArray installSection = TwoProfiles + "[InstallE8F2A3C9]\nDefault=bbbb.default-release\nLocked=1\n";
        QTest::newRow("install section of profiles.ini") << u".thunderbird"_qs << installSection << QByteArray()
                                                          << u"Profil bbbb"_qs;
        QTest::newRow("profile marked Default=1") << u".thunderbird"_qs << TwoProfiles << QByteArray() << u"Profil aaaa"_qs;
        QTest::newRow("the only profile") << u".thunderbird"_qs << onlyProfile << QByteArray() << u"Profil aaaa"_qs;
        QTest::newRow("Snap") << u"snap/thunderbird/common/.thunderbird"_qs << installSection << QByteArray()
                              << u"Profil bbbb"_qs;
        QTest::newRow("Flatpak") << u".var/app/org.mozilla.Thunderbird/.thunderbird"_qs << TwoProfiles
                                 << QByteArray("[8216C80C92C4E828]\nDefault=bbbb.default-release\n")
                                 << u"Profil bbbb"_qs;
    }

    void thunderbirdProfileInUse()
    {
        QFETCH(QString, root);
        QFETCH(QByteArray, profiles);
        QFETCH(QByteArray, installs);
        QFETCH(QString, expected);
        const AddressBookHome home;
        WriteProfilesIni(home, home.Path(root), profiles, installs);
        for (const QString& profile : {u"aaaa.default"_qs, u"bbbb.default-release"_qs}) {
            const QString name = u"Profil "_qs + profile.left(4);
            AddressBookHome::WriteThunderbirdBook(home.Path(root + u'/' + profile + u"/abook.sqlite"_qs),
                                                  {ThunderbirdVCard(profile, name, VCard40("FN:" + name.toUtf8() + "\r\n"))});
        }
        const Imported imported = ImportOutlook();
        QCOMPARE(Names(imported.firma), QStringList{expected});
        QVERIFY(imported.messages.isEmpty());
    }

    // Evolution's copies of server books beside a local book: only enabled
    // books, no card deleted offline, no group, a contact of both books
    // once (from the local one), a damaged copy named, nothing written.
    void evolutionServerBooksAreReadFromTheirCopies()
    {
        const AddressBookHome home;
        AddressBookHome::WriteEvolutionBook(
            u"system"_qs, {VCard30("UID:geteilt-2\r\nFN:Lena Lind\r\nN:Lind;Lena;;;\r\nADR;TYPE=WORK:;;;Leipzig;;;\r\n")});
        AddressBookHome::WriteEvolutionSource(u"1a2b-nextcloud"_qs, u"Nextcloud"_qs, true, u"carddav"_qs);
        AddressBookHome::WriteEvolutionCache(
            u"1a2b-nextcloud"_qs,
            {{EvolutionServerCard(
                 "PRODID:-//Nextcloud Contacts v5.5.3\r\nUID:marta\r\nFN:Marta Mohn\r\nN:Mohn;Marta;;;\r\n"
                 "ORG:Mohn & Söhne GmbH;Vertrieb\r\n"
                 "TITLE:Leiterin des Vertriebs für Süddeutschland\\, Österreich und die Schw\r\n eiz\r\n"
                 "ADR;TYPE=WORK:;3. Stock;Mohnweg 5;München;;80331;Deutschland\r\n"
                 "TEL;TYPE=VOICE;X-EVOLUTION-E164=891234,\"+49\":089 1234\r\n"
                 "TEL;VALUE=uri;TYPE=CELL;X-EVOLUTION-E164=1701234,\"+49\":tel:+49-170-1234\r\n"
                 "EMAIL;TYPE=WORK:marta@mohn.example\r\nREV:20261130T090000Z\r\n")},
             {EvolutionServerCard("UID:geteilt-2\r\nFN:Lena Lind\r\nADR;TYPE=WORK:;;;Server-Leipzig;;;\r\n")},
             {EvolutionServerCard("UID:nora\r\nFN:Nora Neu\r\n"), 1},
             {EvolutionServerCard("UID:gerd\r\nFN:Gerd Gelöscht\r\n"), 3},
             {EvolutionServerCard("UID:team\r\nKIND:group\r\nFN:Team\r\nMEMBER:urn:uuid:marta\r\n")},
             {EvolutionServerCard("UID:verein\r\nX-ADDRESSBOOKSERVER-KIND:group\r\nFN:Verein\r\n")}});
        AddressBookHome::WriteEvolutionSource(u"3c4d-google"_qs, u"Google (alt)"_qs, false, u"google"_qs);
        AddressBookHome::WriteEvolutionCache(u"3c4d-google"_qs, {{EvolutionServerCard("UID:arno\r\nFN:Arno Aus\r\n")}});
        AddressBookHome::WriteEvolutionSource(u"5e6f-ews"_qs, u"Exchange"_qs, true, u"ews"_qs);
        const QString damaged = home.WriteFile(AddressBookHome::EvolutionServerCopies() + u"/5e6f-ews/cache.db"_qs,
                                               QByteArray(4096, 'x'));
        QVERIFY(QDir().mkpath(AddressBookHome::EvolutionServerCopies() + u"/trash"_qs));
        const QMap<QString, QByteArray> before = home.Snapshot();

        const Imported imported = ImportOutlook();
        QCOMPARE(Names(imported.firma), (QStringList{u"Lena Lind"_qs, u"Marta Mohn"_qs, u"Nora Neu"_qs}));
        // In the order of the names: Lena is address 2, Marta address 3.
        const auto column = [&](const char* number, const QString& key) {
            return (*imported.firma->m_dicAdressen.Find(QLatin1String(number)))->m_dicSpalten.Find(key)->Text();
        };
        QCOMPARE(column("2", u"Ort"_qs), u"Leipzig"_qs);
        QCOMPARE(column("3", u"Telefon"_qs), u"089 1234"_qs);
        QCOMPARE(column("3", u"Mobiltelefon"_qs), u"+49-170-1234"_qs);
        QCOMPARE(column("3", u"Strasse"_qs), u"3. Stock\r\nMohnweg 5"_qs);
        QCOMPARE(column("3", u"Funktion"_qs), u"Leiterin des Vertriebs für Süddeutschland, Österreich und die Schweiz"_qs);
        QCOMPARE(imported.messages.size(), 1);
        QVERIFY2(imported.messages[0].prompt.contains(
                     u"\u201EExchange\u201C (%1)\nDie Datei ist beschädigt oder keine Adressbuch-Datenbank."_qs.arg(damaged)),
                 qPrintable(imported.messages[0].prompt));
        QCOMPARE(home.Snapshot(), before);
    }

    void noBookAnywhereSaysWhereItLooked()
    {
        const AddressBookHome home;
        const Imported imported = ImportOutlook();
        QCOMPARE(imported.messages.size(), 1);
        QCOMPARE(imported.messages[0].title, u"Fehler in frmDocument.InitializeOutlook"_qs);
        for (const QString& place :
             {AddressBookHome::VCardFolder(), AddressBookHome::EvolutionBooks(),
              AddressBookHome::EvolutionServerCopies(), home.Path(u".thunderbird"_qs),
              home.Path(u"snap/thunderbird/common/.thunderbird"_qs),
              home.Path(u".var/app/org.mozilla.Thunderbird/.thunderbird"_qs)})
            QVERIFY2(imported.messages[0].prompt.contains(place), qPrintable(imported.messages[0].prompt));
        QCOMPARE(imported.treeNodes, 0);
    }
};

ZIDEVAVI_TEST_MAIN(TestAddressBooks)
#include "tst_address_books.moc"
