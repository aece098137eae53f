// Import › Outlook-CSV-Datei over small files in the forms Outlook and the
// programs that imitate its export write.
#include "support/MainWindowFixture.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "document/frmDocument.h"
#include "model/CodePage1252.h"
#include "platform/MousePointer.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QMdiArea>
#include <QTemporaryDir>

namespace {

const QString German2013Header =
    u"Anrede,Vorname,Weitere Vornamen,Nachname,Suffix,Firma,Abteilung,Position,Straße geschäftlich,"
    "Straße geschäftlich 2,Straße geschäftlich 3,Ort geschäftlich,Region geschäftlich,Postleitzahl geschäftlich,"
    "Land/Region geschäftlich,Straße privat,Straße privat 2,Straße privat 3,Ort privat,Bundesland/Kanton privat,"
    "Postleitzahl privat,Land/Region privat,Weitere Straße,Weitere Straße 2,Weitere Straße 3,Weiterer Ort,"
    "Weiteres/r Bundesland/Kanton,Weitere Postleitzahl,Weiteres/e Land/Region,Telefon Assistent,Fax geschäftlich,"
    "Telefon geschäftlich,Telefon geschäftlich 2,Rückmeldung,Autotelefon,Telefon Firma,Fax privat,Telefon (privat),"
    "Telefon (privat 2),ISDN,Mobiltelefon,Weiteres Fax,Weiteres Telefon,Pager,Haupttelefon,Mobiltelefon 2,"
    "Telefon für Hörbehinderte,Telex,Abrechnungsinformation,Assistent(in),Benutzer 1,Benutzer 2,Benutzer 3,"
    "Benutzer 4,Beruf,Büro,E-Mail-Adresse,E-Mail-Typ,E-Mail: Angezeigter Name,E-Mail 2: Adresse,E-Mail 2: Typ,"
    "E-Mail 2: Angezeigter Name,E-Mail 3: Adresse,E-Mail 3: Typ,E-Mail 3: Angezeigter Name,Empfohlen von,Geburtstag,"
    "Geschlecht,Hobby,Initialen,Internet Frei/Gebucht,Jahrestag,Kategorien,Kinder,Konto,Name des/r Vorgesetzten,"
    "Notizen,Organisationsnr.,Ort,Partner,Postfach geschäftlich,Postfach privat,Priorität,Privat,Reisekilometer,"
    "Sozialversicherungsnr.,Sprache,Stichwörter,Vertraulichkeit,Verzeichnisserver,Webseite,Weiteres Postfach"_qs;

const QString EnglishHeader =
    u"Title,First Name,Middle Name,Last Name,Suffix,Company,Department,Job Title,Business Street,Business Street 2,"
    "Business Street 3,Business City,Business State,Business Postal Code,Business Country/Region,Home Street,"
    "Home Street 2,Home Street 3,Home City,Home State,Home Postal Code,Home Country/Region,Other Street,"
    "Other Street 2,Other Street 3,Other City,Other State,Other Postal Code,Other Country/Region,Assistant's Phone,"
    "Business Fax,Business Phone,Business Phone 2,Callback,Car Phone,Company Main Phone,Home Fax,Home Phone,"
    "Home Phone 2,ISDN,Mobile Phone,Other Fax,Other Phone,Pager,Primary Phone,Radio Phone,TTY/TDD Phone,Telex,"
    "Account,Anniversary,Assistant's Name,Billing Information,Birthday,Business Address PO Box,Categories,Children,"
    "Directory Server,E-mail Address,E-mail Type,E-mail Display Name,E-mail 2 Address,E-mail 2 Type,"
    "E-mail 2 Display Name,E-mail 3 Address,E-mail 3 Type,E-mail 3 Display Name,Gender,Government ID Number,Hobby,"
    "Home Address PO Box,Initials,Internet Free Busy,Keywords,Language,Location,Manager's Name,Mileage,Notes,"
    "Office Location,Organizational ID Number,Other Address PO Box,Priority,Private,Profession,Referred By,"
    "Sensitivity,Spouse,User 1,User 2,User 3,User 4,Web Page"_qs;

using Values = QHash<QString, QString>;

// A file as Outlook writes it: every name and value in quotes, empty values
// bare or as "", the empty values at the end of a record left out.
QString OutlookExport(const QString& header, const QList<Values>& contacts, const QString& emptyValue)
{
    const QStringList names = header.split(u',');
    QString text = u'"' + names.join(u"\",\""_qs) + u"\"\r\n"_qs;
    for (const Values& contact : contacts) {
        QStringList fields;
        for (const QString& name : names)
            fields << (contact.contains(name) ? u'"' + contact[name] + u'"' : emptyValue);
        while (fields.last() == emptyValue)
            fields.removeLast();
        text += fields.join(u',') + u"\r\n"_qs;
    }
    return text;
}

const QStringList AddressColumns = {u"Name"_qs,         u"Anrede"_qs,  u"Typ"_qs,       u"Vorname"_qs,  u"Name2"_qs,
                                    u"Name3"_qs,        u"Titel"_qs,   u"Strasse"_qs,   u"Ort"_qs,      u"PLZ"_qs,
                                    u"Land"_qs,         u"Telefon"_qs, u"Telefon2"_qs,  u"Mobiltelefon"_qs,
                                    u"Fax"_qs,          u"EMail"_qs,   u"Internet"_qs,  u"Abteilung"_qs,
                                    u"Funktion"_qs};

// An address's columns after "Node", the ones not given empty.
QString Address(const Values& columns)
{
    QStringList values;
    for (const QString& column : AddressColumns)
        values << columns.value(column);
    return values.join(u'|');
}

struct Imported
{
    FirmaRef firma;
    int treeNodes = 0;
    int windows = 0;
    QList<RecordingPrompt::Message> messages;
    MousePointer pointer;
};

Imported ImportFile(const QString& path)
{
    RecordingPrompt prompt;
    MainWindowFixture fixture;
    prompt.fileAnswers.enqueue(path);
    fixture.main()->mnuOutlookCsv_Click();
    const frmDocument* document = fixture.main()->ActiveForm();
    return {document->m_objFirma, document->trvBaum->Nodes().Count(),
            int(fixture.main()->MdiArea()->subWindowList().size()), prompt.messages, CurrentMousePointer()};
}

QString WriteFile(const QTemporaryDir& folder, const QByteArray& bytes)
{
    const QString path = folder.filePath(u"Kontakte.csv"_qs);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path;
}

}

class TestOutlookCsv : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void outlookExportsBecomeAddressesColumnByColumn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("addresses");

        // Windows-1252 ("–" is 0x96); "Ort" alone is the location, not the
        // city; a street's lines are joined, the empty ones left out.
        QTest::newRow("German Outlook 2013 and later")
            << EncodeWindows1252(OutlookExport(
                   German2013Header,
                   {{{u"Anrede"_qs, u"Herr"_qs}, {u"Vorname"_qs, u"Jürgen"_qs}, {u"Weitere Vornamen"_qs, u"Karl"_qs},
                     {u"Nachname"_qs, u"Weiß"_qs}, {u"Suffix"_qs, u"jun."_qs}, {u"Firma"_qs, u"Muster GmbH"_qs},
                     {u"Abteilung"_qs, u"Einkauf"_qs}, {u"Position"_qs, u"Leiter – Einkauf"_qs},
                     {u"Straße geschäftlich"_qs, u"Hauptstraße 1"_qs}, {u"Straße geschäftlich 3"_qs, u"Hof 2"_qs},
                     {u"Ort geschäftlich"_qs, u"Köln"_qs}, {u"Postleitzahl geschäftlich"_qs, u"50667"_qs},
                     {u"Land/Region geschäftlich"_qs, u"Deutschland"_qs}, {u"Telefon geschäftlich"_qs, u"0221 1"_qs},
                     {u"Telefon geschäftlich 2"_qs, u"0221 2"_qs}, {u"Mobiltelefon"_qs, u"0170 3"_qs},
                     {u"Fax geschäftlich"_qs, u"0221 4"_qs}, {u"Telefon (privat)"_qs, u"0228 9"_qs},
                     {u"E-Mail-Adresse"_qs, u"jw@example.org"_qs}, {u"Webseite"_qs, u"example.org"_qs},
                     {u"Geschlecht"_qs, u"Männlich"_qs}, {u"Ort"_qs, u"Raum 3"_qs}, {u"Geburtstag"_qs, u"0.0.00"_qs},
                     {u"Priorität"_qs, u"Normal"_qs}, {u"Vertraulichkeit"_qs, u"Normal"_qs}},
                    {{u"Vorname"_qs, u"Anna"_qs}, {u"Nachname"_qs, u"Adler"_qs}, {u"Geschlecht"_qs, u"Weiblich"_qs},
                     {u"Priorität"_qs, u"Normal"_qs}}},
                   u"\"\""_qs))
            << QStringList{Address({{u"Name"_qs, u"Anna Adler"_qs}, {u"Typ"_qs, u"W"_qs}, {u"Vorname"_qs, u"Anna"_qs},
                                    {u"Name2"_qs, u"Adler"_qs}}),
                           u"Herr Jürgen Karl Weiß jun.|Herr|M|Jürgen|Weiß||jun.|Hauptstraße 1\r\nHof 2|Köln|50667|"
                           "Deutschland|0221 1|0221 2|0170 3|0221 4|jw@example.org|example.org|Einkauf|"
                           "Leiter – Einkauf"_qs};

        // A contact with only a company has no name and sorts first; blanks
        // around the gender word do not matter.
        QTest::newRow("English Outlook")
            << EncodeWindows1252(OutlookExport(
                   EnglishHeader,
                   {{{u"Title"_qs, u"Ms."_qs}, {u"First Name"_qs, u"Mary"_qs}, {u"Last Name"_qs, u"Major"_qs},
                     {u"Company"_qs, u"Major Inc."_qs}, {u"Job Title"_qs, u"CEO"_qs},
                     {u"Business Street"_qs, u"1 Main St"_qs}, {u"Business City"_qs, u"Austin"_qs},
                     {u"Business Postal Code"_qs, u"78701"_qs},
                     {u"Business Country/Region"_qs, u"United States of America"_qs},
                     {u"Business Phone"_qs, u"+1 512 555 0100"_qs}, {u"E-mail Address"_qs, u"mary@example.com"_qs},
                     {u"Gender"_qs, u"  female  "_qs}, {u"Web Page"_qs, u"example.com"_qs},
                     {u"Sensitivity"_qs, u"Normal"_qs}},
                    {{u"Company"_qs, u"Acme Corp"_qs}, {u"Business Fax"_qs, u"+1 555 0199"_qs},
                     {u"Gender"_qs, u"Unspecified"_qs}, {u"Sensitivity"_qs, u"Normal"_qs}}},
                   QString()))
            << QStringList{Address({{u"Fax"_qs, u"+1 555 0199"_qs}}),
                           Address({{u"Name"_qs, u"Ms. Mary Major"_qs}, {u"Anrede"_qs, u"Ms."_qs}, {u"Typ"_qs, u"W"_qs},
                                    {u"Vorname"_qs, u"Mary"_qs}, {u"Name2"_qs, u"Major"_qs},
                                    {u"Strasse"_qs, u"1 Main St"_qs}, {u"Ort"_qs, u"Austin"_qs},
                                    {u"PLZ"_qs, u"78701"_qs}, {u"Land"_qs, u"United States of America"_qs},
                                    {u"Telefon"_qs, u"+1 512 555 0100"_qs}, {u"EMail"_qs, u"mary@example.com"_qs},
                                    {u"Internet"_qs, u"example.com"_qs}, {u"Funktion"_qs, u"CEO"_qs}})};

        // Saved again by a German spreadsheet program: semicolons, commas
        // inside values, nothing quoted.
        QTest::newRow("semicolons")
            << QByteArray("Vorname;Nachname;Firma;Stra\xDF" "e gesch\xE4" "ftlich;Ort gesch\xE4" "ftlich\r\n"
                          "Hans;M\xFCller;M\xFCller, S\xF6hne & Co;Weg 1, Hof;Bonn\r\n")
            << QStringList{Address({{u"Name"_qs, u"Hans Müller"_qs}, {u"Vorname"_qs, u"Hans"_qs},
                                    {u"Name2"_qs, u"Müller"_qs}, {u"Strasse"_qs, u"Weg 1, Hof"_qs},
                                    {u"Ort"_qs, u"Bonn"_qs}})};

        // The new Outlook's contacts.csv: its own order, no gender, names
        // unquoted; a Japanese name shows last name first.
        QTest::newRow("new Outlook, UTF-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF"
                          "First Name,Middle Name,Last Name,Title,Suffix,Nickname,E-mail Address,Business Phone,"
                          "Mobile Phone,Job Title,Department,Company,Business Street,Business City,Business State,"
                          "Business Postal Code,Business Country/Region,Web Page,Notes\r\n")
                   + u"太郎,,山田,,,,taro@example.jp,,,,,,,Łódź,,,,,\"\"\r\n"_qs.toUtf8()
            << QStringList{Address({{u"Name"_qs, u"山田 太郎"_qs}, {u"Vorname"_qs, u"太郎"_qs},
                                    {u"Name2"_qs, u"山田"_qs}, {u"Ort"_qs, u"Łódź"_qs},
                                    {u"EMail"_qs, u"taro@example.jp"_qs}})};

        // Google Contacts' "Outlook CSV": "Business Country", and a whole
        // address in "Business Address" that is not the street.
        QTest::newRow("Google, UTF-8")
            << u"First Name,Middle Name,Last Name,Title,Suffix,Initials,Web Page,Gender,Birthday,Notes,E-mail Address,"
               "Business Address,Business Street,Business City,Business Country,Company\r\n"
               "Jörg,,Sänger,,,J.S.,,MALE,,,js@example.de,\"Weg 5\n12345 Dorf\",,,Österreich,\r\n"_qs.toUtf8()
            << QStringList{Address({{u"Name"_qs, u"Jörg Sänger"_qs}, {u"Typ"_qs, u"M"_qs}, {u"Vorname"_qs, u"Jörg"_qs},
                                    {u"Name2"_qs, u"Sänger"_qs}, {u"Land"_qs, u"Österreich"_qs},
                                    {u"EMail"_qs, u"js@example.de"_qs}})};

        // A bare LF inside a value comes in as CR LF, as Outlook keeps it.
        QTest::newRow("multi-line quoted values")
            << QByteArray("\"Vorname\",\"Nachname\",\"Stra\xDF" "e gesch\xE4" "ftlich\",\"Stra\xDF" "e gesch\xE4"
                          "ftlich 2\",\"Notizen\",\"Position\"\r\n"
                          "\"Eva\",\"Ernst\",\"Am Markt 1\nEingang B\",\"3. Etage\",\"Zeile 1\r\n\r\nZeile 3\","
                          "\"Der \"\"Chef\"\", sagt sie\"\r\n")
            << QStringList{Address({{u"Name"_qs, u"Eva Ernst"_qs}, {u"Vorname"_qs, u"Eva"_qs},
                                    {u"Name2"_qs, u"Ernst"_qs}, {u"Strasse"_qs, u"Am Markt 1\r\nEingang B\r\n3. Etage"_qs},
                                    {u"Funktion"_qs, u"Der \"Chef\", sagt sie"_qs}})};

        // Records shorter than the header; records without any value left
        // out; values kept with their blanks; LF line ends; no line end at
        // the end of the file.
        QTest::newRow("short records")
            << QByteArray("\"Vorname\",\"Nachname\",\"Firma\",\"E-Mail-Adresse\",\"Telefon geschäftlich\"\r\n"
                          "\"Udo\",\"Ulm\"\r\n"
                          "\r\n"
                          ",,,,\r\n"
                          "\"\",\"\",\"\",\"\",\"\"\n"
                          ",,\"Nur Firma AG\",,\"0228 5\"\n"
                          "\" Olaf \",Ohm")
            << QStringList{Address({{u"Telefon"_qs, u"0228 5"_qs}}),
                           Address({{u"Name"_qs, u"Olaf Ohm"_qs}, {u"Vorname"_qs, u" Olaf "_qs}, {u"Name2"_qs, u"Ohm"_qs}}),
                           Address({{u"Name"_qs, u"Udo Ulm"_qs}, {u"Vorname"_qs, u"Udo"_qs}, {u"Name2"_qs, u"Ulm"_qs}})};
    }

    void outlookExportsBecomeAddressesColumnByColumn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, addresses);
        QTemporaryDir folder;
        const Imported imported = ImportFile(WriteFile(folder, bytes));

        QVERIFY(imported.messages.isEmpty());
        QCOMPARE(imported.firma->m_dicSpalten.Find(u"Name"_qs)->Text(), u"Outlook Adressen"_qs);
        QCOMPARE(imported.treeNodes, addresses.size() + 1);
        QStringList actual;
        for (const auto& [key, adresse] : imported.firma->m_dicAdressen) {
            QStringList values;
            for (const auto& [column, value] : adresse->m_dicSpalten)
                values << value.Text();
            QCOMPARE(values.takeFirst(), key);
            actual << values.join(u'|');
        }
        QCOMPARE(actual, addresses);
    }

    void filesWithoutOutlooksColumnsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a folder for a null array, no file for an empty one
        QTest::addColumn<bool>("namesColumns");
        QTest::newRow("Thunderbird's columns")
            << QByteArray("First Name,Last Name,Display Name,Nickname,Primary Email,Work Phone,Mobile Number,"
                          "Work Address,Work City,Job Title,Department,Organization,Web Page 1\r\n"
                          "Max,Muster,Max Muster,,max@example.org,0221 1,,Weg 1,K\xF6ln,,,,\r\n")
            << true;
        QTest::newRow("name columns only") << QByteArray("Vorname,Nachname,Firma,Position\r\nMax,Muster,,\r\n") << true;
        QTest::newRow("empty file") << QByteArray("") << true;
        QTest::newRow("a folder") << QByteArray() << false;
    }

    void filesWithoutOutlooksColumnsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, namesColumns);
        QTemporaryDir folder;
        const QString path = bytes.isNull() ? folder.path() : WriteFile(folder, bytes);
        const Imported imported = ImportFile(path);

        QCOMPARE(imported.messages.size(), 1);
        const RecordingPrompt::Message& message = imported.messages[0];
        QCOMPARE(message.title, u"Fehler in frmDocument.InitializeOutlook"_qs);
        QCOMPARE(message.icon, Prompt::Icon::Critical);
        QVERIFY2(message.prompt.contains(path), qPrintable(message.prompt));
        QCOMPARE(message.prompt.contains(u"„E-Mail-Adresse“"_qs), namesColumns);
        QCOMPARE(imported.windows, 1);
        QVERIFY(!imported.firma);
        QCOMPARE(imported.treeNodes, 0);
        QCOMPARE(imported.pointer, MousePointer::Default);
    }
};

ZIDEVAVI_TEST_MAIN(TestOutlookCsv)
#include "tst_outlook_csv.moc"
