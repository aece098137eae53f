// Reading and writing address documents at the level of the records.
#include "DocumentTestTools.h"
#include "support/MainWindowFixture.h"
#include "support/TestMain.h"

#include "document/frmDocument.h"
#include "model/DocumentFile.h"
#include "platform/Failure.h"
#include "tree/clsTreeView.h"

#include <QXmlStreamReader>

#include <memory>

class tst_DocumentReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wellFormedDocumentsReadAsTheFormatSays_data();
    void wellFormedDocumentsReadAsTheFormatSays();
    void brokenDocumentsAreRefusedSayingWhere_data();
    void brokenDocumentsAreRefusedSayingWhere();
    void writesTheExampleByteForByte_data();
    void writesTheExampleByteForByte();
    void addressContinuesFromThePosition();
    void valuesSurvive_data();
    void valuesSurvive();
    void keysSurvive_data();
    void keysSurvive();
    void deepNesting();
    void recordsOutliveTheirDocument();
    void refusedWriteFails();

private:
    std::unique_ptr<MainWindowFixture> m_fixture;
    frmDocument* m_document = nullptr;
};

void tst_DocumentReader::initTestCase()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_document = m_fixture->NewDocument();
}

void tst_DocumentReader::init()
{
    m_document->m_lngID = 0;
}

void tst_DocumentReader::wellFormedDocumentsReadAsTheFormatSays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("records");
    QTest::newRow("the example file") << FileBytes(TestDataFile(QStringLiteral("outlook-muster.xml")))
                                      << "Node=1|Name=Outlook Adressen[Node=2|Name=Muster|Ort=Köln]";
    QTest::newRow("no header") << QByteArray("<Firma> \r\n<Name>X</Name> \r\n</Firma> \r\n") << "Node=1|Name=X";
    QTest::newRow("text before and after") << QByteArray("Vorspann <b>fett</b>\r\n<Firma><Name>X</Name></Firma> <x")
                                           << "Node=1|Name=X";
    QTest::newRow("nested in document order")
        << QByteArray("<Firma><Adresse><Name>A</Name><Adresse><Name>A1</Name></Adresse><Adresse><Name>A2</Name>"
                      "</Adresse></Adresse><Adresse><Name>B</Name></Adresse></Firma>")
        << "Node=1[Node=2|Name=A[Node=3|Name=A1][Node=4|Name=A2]][Node=5|Name=B]";
    QTest::newRow("repeated column keeps its place")
        << QByteArray("<Firma><Name>1</Name><Ort>O</Ort><Name>2</Name></Firma>") << "Node=1|Name=2|Ort=O";
    QTest::newRow("line break in a value kept")
        << QByteArray("<Firma><Strasse>Haus A\r\nHaus B</Strasse></Firma>") << "Node=1|Strasse=Haus A\r\nHaus B";
    QTest::newRow("line breaks between and inside tags dropped")
        << QByteArray("<Firma>\r\n<Na\r\nme>X</Na\r\nme>\r\n</Firma>") << "Node=1|Name=X";
    QTest::newRow("line breaks inside every kind of tag")
        << QByteArray("<Fir\r\nma><N\name>X</Nam\r\ne><Adre\rsse><Ort>Y</\r\nOrt></Adresse\r\n></Fi\nrma>")
        << "Node=1|Name=X[Node=2|Ort=Y]";
    QTest::newRow("raw < in an old file ends the value") << QByteArray("<Firma><Name>a<b</Name></Firma>")
                                                         << "Node=1|Name=a";
    QTest::newRow("references") << QByteArray("<Firma><Name>a &lt; b &amp; c &#345; &amp;#345;</Name></Firma>")
                                << "Node=1|Name=a < b & c ř &#345;";
    QTest::newRow("code page") << QByteArray("<Firma><Name>\x80 \xf6 \x9f</Name></Firma>") << "Node=1|Name=€ ö Ÿ";
    QTest::newRow("Node element replaces the number")
        << QByteArray("<Firma><Adresse><Node>7</Node><Name>X</Name></Adresse></Firma>") << "Node=1[Node=7|Name=X]";
    QTest::newRow("structure tag with a blank is a column")
        << QByteArray("<Firma><Adresse >x</Adresse ></Firma>") << "Node=1|Adresse =x";
    QTest::newRow("structure tags are case-sensitive") << QByteArray("<Firma><adresse>x</adresse></Firma>")
                                                       << "Node=1|adresse=x";
}

void tst_DocumentReader::wellFormedDocumentsReadAsTheFormatSays()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, records);
    // One number for each record from the window's counter, in document order.
    const FirmaRef firma = ReadDocument(bytes, [this] { return m_document->NextID(); });
    QCOMPARE(Dump(*firma), records);
    QCOMPARE(m_document->m_lngID, records.count(QStringLiteral("Node=")));
    QCOMPARE(Dump(*ReadDocumentText(bytes)), records);
}

void tst_DocumentReader::brokenDocumentsAreRefusedSayingWhere_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty") << QByteArray() << "Die Datei enthält kein Element <Firma>.";
    QTest::newRow("no <Firma>") << QByteArray("<Adresse></Adresse>") << "Die Datei enthält kein Element <Firma>.";
    QTest::newRow("no </Firma>") << QByteArray("<Firma><Name>X</Name>")
                                 << "Die Datei endet zu früh: Zu dem Element <Firma> an Zeichen 1 fehlt das Ende-Tag "
                                    "</Firma>.";
    QTest::newRow("no </Adresse>") << QByteArray("<Firma><Adresse><Name>X</Name>")
                                   << "Die Datei endet zu früh: Zu dem Element <Adresse> an Zeichen 8 fehlt das "
                                      "Ende-Tag </Adresse>.";
    QTest::newRow("</Firma> inside an address") << QByteArray("<Firma><Adresse></Firma>")
                                                << "Unerwartetes Ende-Tag </Firma> an Zeichen 17; erwartet wird "
                                                   "</Adresse>.";
    QTest::newRow("stray end tag") << QByteArray("<Firma></Name></Firma>")
                                   << "Unerwartetes Ende-Tag </Name> an Zeichen 8; erwartet wird </Firma>.";
    // Skipping to a column's end tag past a record's tag would drop what
    // lies between, whole addresses of a damaged file.
    QTest::newRow("column without end tag") << QByteArray("<Firma><Name>X</Firma>")
                                            << "Die Datei ist in Zeile 1 beschädigt: Zu dem Element <Name> fehlt das "
                                               "Ende-Tag </Name> vor </Firma> in Zeile 1.";
    QTest::newRow("place marker in a name") << QByteArray("<Firma><a%2b>X</Firma>")
                                            << "Die Datei ist in Zeile 1 beschädigt: Zu dem Element <a%2b> fehlt das "
                                               "Ende-Tag </a%2b> vor </Firma> in Zeile 1.";
    QTest::newRow("end tag lost before the address's end")
        << QByteArray("<Firma> \r\n<Adresse> \r\n<Name>A \r\n</Adresse> \r\n<Adresse> \r\n<Name>B</Name> \r\n"
                      "</Adresse> \r\n</Firma> \r\n")
        << "Die Datei ist in Zeile 3 beschädigt: Zu dem Element <Name> fehlt das Ende-Tag </Name> vor </Adresse> in "
           "Zeile 4.";
    QTest::newRow("end tag lost before an address's start")
        << QByteArray("<Firma> \r\n<Name>A</Nam \r\n<Adresse> \r\n<Name>B</Name> \r\n</Adresse> \r\n</Firma> \r\n")
        << "Die Datei ist in Zeile 2 beschädigt: Zu dem Element <Name> fehlt das Ende-Tag </Name> vor <Adresse> in "
           "Zeile 3.";
    QTest::newRow("end tag split across lines before the record's end")
        << QByteArray("<Firma><Adresse><Ort>X</Adresse\r\n></Firma>")
        << "Die Datei ist in Zeile 1 beschädigt: Zu dem Element <Ort> fehlt das Ende-Tag </Ort> vor </Adresse> in "
           "Zeile 1.";
    QTest::newRow("value up to the end") << QByteArray("<Firma><Name>X")
                                         << "Zu dem Element <Name> an Zeichen 8 fehlt das Ende-Tag </Name>.";
    QTest::newRow("attributes") << QByteArray("<Firma><Name typ=\"a\">X</Name></Firma>")
                                << "Das Element <Name typ=\"a\"> an Zeichen 8 hat Attribute; sie werden nicht "
                                   "unterstützt.";
    QTest::newRow("empty element") << QByteArray("<Firma><Name/></Firma>")
                                   << "Das leere Element <Name/> an Zeichen 8 wird nicht unterstützt.";
    QTest::newRow("tag without >") << QByteArray("<Firma><Na") << "Das Tag an Zeichen 8 wird nicht mit \">\" geschlossen.";
    QTest::newRow("two addresses with one number")
        << QByteArray("<Firma><Adresse><Node>5</Node></Adresse><Adresse><Node>5</Node></Adresse></Firma>")
        << Failure::DuplicateKey().Description();
}

void tst_DocumentReader::brokenDocumentsAreRefusedSayingWhere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);
    for (const auto read : {ReadDocument, ReadDocumentText}) {
        try {
            read(bytes, Counter());
            QFAIL("read without a failure");
        } catch (const Failure& failure) {
            QCOMPARE(failure.Description(), description);
        }
    }
}

void tst_DocumentReader::writesTheExampleByteForByte_data()
{
    QTest::addColumn<bool>("withAddress");
    QTest::addColumn<QString>("file");
    QTest::newRow("company with one address") << true << "outlook-muster.xml";
    QTest::newRow("company without columns") << false << "empty-company.xml";
}

void tst_DocumentReader::writesTheExampleByteForByte()
{
    QFETCH(bool, withAddress);
    QFETCH(QString, file);
    clsFirma firma;
    firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    if (withAddress) {
        firma.m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Outlook Adressen"));
        auto adresse = std::make_shared<clsAdresse>();
        adresse->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(2));
        adresse->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Muster"));
        adresse->m_dicSpalten.Assign(QStringLiteral("Ort"), QStringLiteral("Köln"));
        firma.m_dicAdressen.Add(QStringLiteral("2"), adresse);
    }
    const QString difference = FirstDifferentLine(DocumentFileBytes(firma), FileBytes(TestDataFile(file)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void tst_DocumentReader::addressContinuesFromThePosition()
{
    const QString text = QStringLiteral("<Adresse><Name>A</Name><Adresse></Adresse></Adresse><Rest>");
    clsAdresse adresse;
    qint32 pos = 10;
    qint32 next = 0;
    QVERIFY(adresse.LoadFromXML(text, pos, [&next] { return ++next; }));
    QCOMPARE(pos, text.indexOf(QStringLiteral("<Rest>")) + 1);
    QCOMPARE(adresse.m_dicAdressen.Count(), 1);

    QString strXML = QStringLiteral("vorher\r\n");
    QCOMPARE(adresse.SaveToXML(strXML),
             QStringLiteral("vorher\r\n<Adresse> \r\n<Name>A</Name> \r\n<Adresse> \r\n</Adresse> \r\n</Adresse> \r\n"));
    QVERIFY(strXML.endsWith(QStringLiteral("</Adresse> \r\n</Adresse> \r\n")));
}

// Whatever a record holds comes back from a save and an open, and a real XML
// parser reads the same values from the file.
void tst_DocumentReader::valuesSurvive_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("parserAgrees");
    QTest::newRow("umlauts") << "Köln Äß" << true;
    QTest::newRow("ampersand") << "Bau & Holz Söhne" << true;
    QTest::newRow("less than") << "a<b </Name>" << true;
    QTest::newRow("greater than and cdata end") << "a>b ]]>" << true;
    QTest::newRow("line break") << "Haus A\r\nHaus B" << true;
    QTest::newRow("blanks and tab") << "  x\ty  " << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("outside the code page") << "Łódź Říčany Москва 東京 \U0001F600" << true;
    QTest::newRow("reference as text") << "&#345; &amp; &lt;" << true;
    QTest::newRow("quotes") << "\"a\" 'b'" << true;
    // The header says iso-8859-1, so a strict parser reads these bytes of
    // the Windows-1252 code page as C1 control characters.
    QTest::newRow("Windows-1252 only") << "€ „x“ – Š" << false;
}

void tst_DocumentReader::valuesSurvive()
{
    QFETCH(QString, value);
    QFETCH(bool, parserAgrees);
    clsFirma firma;
    firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    firma.m_dicSpalten.Assign(QStringLiteral("Name"), value);
    auto adresse = std::make_shared<clsAdresse>();
    adresse->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(2));
    adresse->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Muster"));
    adresse->m_dicSpalten.Assign(QStringLiteral("Strasse"), value);
    firma.m_dicAdressen.Add(QStringLiteral("2"), adresse);

    const QByteArray bytes = DocumentFileBytes(firma);
    QCOMPARE(Dump(*ReadDocument(bytes)), Dump(firma));

    if (!parserAgrees)
        return;
    QXmlStreamReader xml(bytes);
    QStringList read;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        if (name != QLatin1String("Firma") && name != QLatin1String("Adresse"))
            read.append(name + QLatin1Char('=') + xml.readElementText());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // XML parsers hand out every line break as a line feed.
    const QString asParsed = QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(read, QStringList({"Name=" + asParsed, "Name=Muster", "Strasse=" + asParsed}));
}

// Whatever a column key holds comes back from a save and an open, and is
// written the same again.
void tst_DocumentReader::keysSurvive_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("NUL") << QString(QChar(0)) + "x";
    QTest::newRow("control characters and line breaks") << "a\x01\tb\r\nc";
    QTest::newRow("markup characters") << "a<b>c&d ]]> \"'";
    QTest::newRow("leading slash") << "/Firma";
    QTest::newRow("references as text") << "&#0;&amp;";
    QTest::newRow("outside the code page, blanks") << " Łódź 東京 ";
    QTest::newRow("empty") << "";
}

void tst_DocumentReader::keysSurvive()
{
    QFETCH(QString, key);
    clsFirma firma;
    firma.m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    firma.m_dicSpalten.Assign(key, QStringLiteral("Wert"));
    auto adresse = std::make_shared<clsAdresse>();
    adresse->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(2));
    adresse->m_dicSpalten.Assign(key, QString());
    firma.m_dicAdressen.Add(QStringLiteral("2"), adresse);

    const QByteArray bytes = DocumentFileBytes(firma);
    const FirmaRef read = ReadDocument(bytes);
    QCOMPARE(Dump(*read), Dump(firma));
    QCOMPARE(DocumentFileBytes(*read), bytes);
}

// A chain of addresses, each nested in the one before, is read, drawn,
// written and dropped without recursing once per level.
void tst_DocumentReader::deepNesting()
{
    constexpr int Depth = 100000;
    QByteArray bytes = DocumentHeaderLine + "\r\n<Firma> \r\n";
    for (int i = 0; i < Depth; ++i)
        bytes += "<Adresse> \r\n<Name>" + QByteArray::number(i) + "</Name> \r\n";
    for (int i = 0; i < Depth; ++i)
        bytes += "</Adresse> \r\n";
    bytes += "</Firma> \r\n";

    FirmaRef firma = ReadDocument(bytes);
    int depth = 0;
    for (const clsDictionary<AdresseRef>* level = &firma->m_dicAdressen; level->Count() == 1;
         level = &level->begin()->second->m_dicAdressen)
        ++depth;
    QCOMPARE(depth, Depth);
    QCOMPARE(DocumentFileBytes(*firma), bytes);

    firma->ShowTree(*m_document->trvBaum);
    QCOMPARE(m_document->trvBaum->Nodes().Count(), Depth + 1);
    m_document->trvBaum->Nodes().Clear();
    firma.reset();
}

namespace {

// A device that takes a number of bytes and then refuses, as a full disk does.
class FullDevice final : public QIODevice
{
public:
    explicit FullDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        if (size > m_room)
            return -1;
        m_room -= size;
        return size;
    }

private:
    qint64 m_room;
};

}

// The records of a document read from a file share their memory. A record,
// or a record's columns moved elsewhere, still reads after the document is
// gone.
void tst_DocumentReader::recordsOutliveTheirDocument()
{
    QByteArray bytes("<Firma> \r\n");
    for (int i = 0; i < 20000; ++i)
        bytes += "<Adresse> \r\n<Name>Muster " + QByteArray::number(i) + "</Name> \r\n</Adresse> \r\n";
    bytes += "</Firma> \r\n";
    const AdresseRef kept = ReadDocument(bytes)->m_dicAdressen.ValueAt(19999);
    QCOMPARE(kept->m_dicSpalten.Item(QStringLiteral("Name")).Text(), QStringLiteral("Muster 19999"));
    const clsDictionary<ColumnValue> moved(std::move(ReadDocument(bytes)->m_dicAdressen.ValueAt(19999)->m_dicSpalten));
    QCOMPARE(moved.Find(QStringLiteral("Name"))->Text(), QStringLiteral("Muster 19999"));
}

void tst_DocumentReader::refusedWriteFails()
{
    const FirmaRef firma = ReadDocument(FileBytes(TestDataFile(QStringLiteral("nested-special.xml"))));
    FullDevice device(100);
    QVERIFY_THROWS_EXCEPTION(Failure, WriteDocument(device, *firma));
}

ZIDEVAVI_TEST_MAIN(tst_DocumentReader)
#include "tst_DocumentReader.moc"
