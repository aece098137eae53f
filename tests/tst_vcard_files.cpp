// Real vCard files from other programs, imported through Import › vCard-Datei.
// They are not part of the project: the test runs where the shared test data
// sits beside the checkout and skips itself elsewhere.
#include "support/MainWindowFixture.h"
#include "support/RecordingPrompt.h"
#include "support/TestMain.h"

#include "document/frmDocument.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QCollator>
#include <QDirIterator>

#include <algorithm>

namespace {

const QString VCards = QStringLiteral(ZIDEVAVI_SHARED_TESTDATA "/vcards/");

struct Imported
{
    FirmaRef firma;
    int treeNodes = 0;
    QList<RecordingPrompt::Message> messages;
};

Imported ImportFile(const QString& path)
{
    RecordingPrompt prompt;
    MainWindowFixture fixture;
    prompt.fileAnswers.enqueue(path);
    fixture.main()->mnuVCard_Click();
    frmDocument* document = fixture.main()->ActiveForm();
    return {document->m_objFirma, document->trvBaum->Nodes().Count(), prompt.messages};
}

AdresseRef AddressNamed(const FirmaRef& firma, const QString& name)
{
    for (const auto& [key, adresse] : firma->m_dicAdressen) {
        if (adresse->m_dicSpalten.Find(QStringLiteral("Name"))->Text() == name)
            return adresse;
    }
    return nullptr;
}

}

class TestVCardFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFileInfo(VCards).isDir())
            QSKIP(qPrintable(u"Die geteilten Testdaten fehlen (%1): nur mit ihnen laufen diese Tests."_qs.arg(VCards)));
    }

    void everyFileImports_data()
    {
        // Group cards (the Apple and the vCard 4 form) are left out.
        const QHash<QString, int> contacts = {
            {u"ccs-caldavtester/g123.vcf"_qs, 0},          {u"vobject/vcard40_group.vcf"_qs, 0},
            {u"ez-vcard/John_Doe_ANDROID.vcf"_qs, 6},      {u"ez-vcard/gmail-list.vcf"_qs, 3},
            {u"folkerkinzel-vcards/v3Utf16Bom.vcf"_qs, 2}, {u"folkerkinzel-vcards/v4.vcf"_qs, 2},
            {u"ical4j-vcard/vcard-vCards-SAP.vcf"_qs, 30}, {u"kcontacts/vcard10.vcf"_qs, 5}};
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("expected");
        QDirIterator it(VCards, {u"*.vcf"_qs}, QDir::Files, QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext())
            files << it.next().mid(VCards.size());
        files.sort();
        QCOMPARE(files.size(), 38);
        for (const QString& file : files)
            QTest::newRow(qPrintable(file)) << VCards + file << contacts.value(file, 1);
    }

    void everyFileImports()
    {
        QFETCH(QString, path);
        QFETCH(int, expected);
        const Imported imported = ImportFile(path);
        QVERIFY(imported.messages.isEmpty());
        QCOMPARE(imported.firma->m_dicAdressen.Count(), expected);
        QCOMPARE(imported.treeNodes, expected + 1);
        for (const auto& [key, adresse] : imported.firma->m_dicAdressen) {
            for (const auto& [column, value] : adresse->m_dicSpalten)
                QVERIFY2(!value.Text().contains(QChar::ReplacementCharacter), qPrintable(column));
        }
    }

    void columns_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* tag, const QString& file, const QString& name, const QString& column,
                      const QString& expected) { QTest::newRow(tag) << file << name << column << expected; };

        // German and Polish letters, in whatever encoding the file uses.
        row("German, Windows-1252", u"folkerkinzel-vcards/German.vcf"_qs, u"Sören Täve Nüßlebaum"_qs, u"Ort"_qs,
            u"Mößlitz"_qs);
        row("declared Windows-1252", u"folkerkinzel-vcards/LabelIssue.vcf"_qs, u"Rudi Wimmel"_qs, u"Strasse"_qs,
            u"Business-Straße 19"_qs);
        row("Latin-1 address book", u"ical4j-vcard/vcard-vCards-SAP.vcf"_qs, u"Ingrid Spaßlund"_qs, u"Vorname"_qs,
            u"Ingrid"_qs);
        row("Polish, UTF-8", u"ccs-caldavtester/8.vcf"_qs, u"HiAscii Śuteri"_qs, u"Name2"_qs, u"Śuteri"_qs);
        row("quoted-printable name parts", u"evolution-data-server/12.vcf"_qs, u"Michael Brüning"_qs,
            u"Mobiltelefon"_qs, u"+491622433834"_qs);
        row("fold inside a character", u"kcontacts/vcard9.vcf"_qs,
            u"123ㄓㄕㄖbcdeαβγδαβγδαβγδαβγδαβγδαβγδαβㄤㄓㄕㄖ"_qs, u"Name3"_qs, QString());
        row("UTF-16", u"folkerkinzel-vcards/v3Utf16Bom.vcf"_qs, u"KMS Außenstelle"_qs, u"EMail"_qs, u" blablö@blub.com"_qs);
        row("multi-line street", u"kcontacts/vcard10.vcf"_qs, QString() /* a company card: no name */, u"Strasse"_qs,
            u"DDDDDDDDDDDDDDD-Staße 2\r\n00000 DDDDDDDDDD"_qs);

        row("Outlook gender", u"folkerkinzel-vcards/v2_1.vcf"_qs, u"Maxl"_qs, u"Typ"_qs,
            u"M"_qs);
        row("UTF-8 quoted-printable department", u"folkerkinzel-vcards/v2_1.vcf"_qs, u"Maxl"_qs,
            u"Abteilung"_qs, u"Führungsetage"_qs);
        row("German Outlook 2003", u"ical4j-vcard/vcard-antoni-outlook2003.vcf"_qs, u"Antoni Jozef Mylka jun."_qs,
            u"Titel"_qs, u"jun."_qs);
        row("vCard 4 gender", u"folkerkinzel-vcards/v4.vcf"_qs, u"Dr. Max Horst Mustermann jr. Maxl SED"_qs, u"Typ"_qs, u"M"_qs);
    }

    void columns()
    {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(QString, column);
        QFETCH(QString, expected);
        const Imported imported = ImportFile(VCards + file);
        const AdresseRef adresse = AddressNamed(imported.firma, name);
        QVERIFY2(adresse, qPrintable(name));
        const ColumnValue* value = adresse->m_dicSpalten.Find(column);
        QVERIFY(value);
        QCOMPARE(value->Text(), expected);
    }

    // Outlook's own exports: the columns after "Node", from "Name" to "Funktion".
    void outlookExports_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("columns");
        QTest::newRow("Outlook 2003") << u"ez-vcard/outlook-2003.vcf"_qs
                                      << u"John Doe III|Mr.||John|Doe||III|TheOffice\r\n123 Main St|Austin|12345|United States of "
                                         "America|BusinessPhone||MobilePhone|BusinessFaxPhone|jdoe@hotmail.com|"
                                         "http://web-page-address.com|TheDepartment|The Job Title"_qs;
        QTest::newRow("German Outlook") << u"folkerkinzel-vcards/Outlook v2.vcf"_qs
                                        << u"Herr Max Anderer Mustermann sen.|Herr||Max|Mustermann||sen.|Musterstrasse 12|"
                                           "Wiesbaden|65201|Deutschland|+49 (0611) 123456 - 11||+49 (0611) 123456 - 14|"
                                           "+49 (0611) 123456 - 13|max.mustermann@musterfirma.de|"
                                           "https://www.musterfirma.de||Musterposition"_qs;
    }

    void outlookExports()
    {
        QFETCH(QString, file);
        QFETCH(QString, columns);
        const Imported imported = ImportFile(VCards + file);
        QCOMPARE(imported.firma->m_dicAdressen.Count(), 1);
        QStringList values;
        for (const auto& [key, value] : imported.firma->m_dicAdressen.begin()->second->m_dicSpalten)
            values << value.Text();
        QCOMPARE(values.mid(1).join(u'|'), columns);
    }

    void manyCardsInFullNameOrder()
    {
        const Imported imported = ImportFile(VCards + u"ical4j-vcard/vcard-vCards-SAP.vcf"_qs);
        QStringList names;
        for (const auto& [key, adresse] : imported.firma->m_dicAdressen)
            names << adresse->m_dicSpalten.Find(u"Name"_qs)->Text();
        QCOMPARE(names.mid(0, 4),
                 (QStringList{u"Adam Atkins"_qs, u"Albert Aubrey"_qs, u"Ambrosia Fischer"_qs, u"Berit Müller"_qs}));
        // "Name" is the full name the list is sorted by, so the tree shows
        // the names in order.
        QStringList sorted = names;
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(sorted.begin(), sorted.end(), collator);
        QCOMPARE(names, sorted);
    }
};

ZIDEVAVI_TEST_MAIN(TestVCardFiles)
#include "tst_vcard_files.moc"
