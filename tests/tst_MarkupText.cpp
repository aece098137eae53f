// The markup text helpers and the escaping and code page of document files.
#include "support/TestMain.h"

#include "model/CodePage1252.h"
#include "model/MarkupEscaping.h"
#include "model/MarkupText.h"
#include "platform/Failure.h"

class tst_MarkupText : public QObject
{
    Q_OBJECT

private slots:
    void getTagNameFindsTheNameAfterThePosition_data();
    void getTagNameFindsTheNameAfterThePosition();
    void getTagValueReadsUpToTheMatchingEndTag_data();
    void getTagValueReadsUpToTheMatchingEndTag();
    void invalidPositionsFail_data();
    void invalidPositionsFail();
    void stripLineBreaks();
    void convertAmpersands_data();
    void convertAmpersands();
    void everyByteSurvivesTheCodePage();
    void codePage_data();
    void codePage();
    void escaping_data();
    void escaping();
    void unescapeLeavesUnknownReferences_data();
    void unescapeLeavesUnknownReferences();
};

void tst_MarkupText::getTagNameFindsTheNameAfterThePosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("name");
    const QString doc = QStringLiteral("<Firma> <Name>X</Name>");
    QTest::newRow("first tag") << doc << 1 << "Firma";
    QTest::newRow("from inside a tag") << doc << 8 << "Name";
    QTest::newRow("end tag") << doc << 16 << "/Name";
    QTest::newRow("no tag") << "Muster" << 1 << "";
    QTest::newRow("empty text") << "" << 1 << "";
    QTest::newRow("past the last <") << doc << 17 << "";
    QTest::newRow("past the end") << doc << 99 << "";
    QTest::newRow("blanks belong to the name") << "<?xml version='1.0'?>" << 1 << "?xml version='1.0'?";
}

void tst_MarkupText::getTagNameFindsTheNameAfterThePosition()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QString, name);
    QCOMPARE(GetTagName(text, pos), name);
}

void tst_MarkupText::getTagValueReadsUpToTheMatchingEndTag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("value");
    QTest::newRow("value") << "<Name>Muster</Name>" << 7 << "Muster";
    QTest::newRow("empty value") << "<Name></Name>" << 7 << "";
    QTest::newRow("no < follows") << "Muster" << 1 << "";
    QTest::newRow("at a <") << "<Name>" << 1 << "";
    QTest::newRow("line break kept") << "<a>x\r\ny</a>" << 4 << "x\r\ny";
}

void tst_MarkupText::getTagValueReadsUpToTheMatchingEndTag()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QString, value);
    QCOMPARE(GetTagValue(text, pos), value);
}

void tst_MarkupText::invalidPositionsFail_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<bool>("name");
    QTest::newRow("name at 0") << "<a>" << 0 << true;
    QTest::newRow("name at -1") << "<a>" << -1 << true;
    QTest::newRow("< without >") << "<x" << 1 << true;
    QTest::newRow("value at 0") << "<a>" << 0 << false;
}

void tst_MarkupText::invalidPositionsFail()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(bool, name);
    try {
        name ? GetTagName(text, pos) : GetTagValue(text, pos);
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.Description(), Failure::InvalidArgument().Description());
    }
}

void tst_MarkupText::stripLineBreaks()
{
    QString text = QStringLiteral("a\r\nb\rc\nd");
    QCOMPARE(StripLineBreaks(text), QStringLiteral("abcd"));
    QCOMPARE(text, QStringLiteral("abcd"));
    QString plain = QStringLiteral("a b\tc");
    QCOMPARE(StripLineBreaks(plain), QStringLiteral("a b\tc"));
}

void tst_MarkupText::convertAmpersands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("plain") << "A & B" << "A &amp; B" << "A & B";
    QTest::newRow("already escaped") << "&amp;" << "&amp;amp;" << "&";
    QTest::newRow("case matters") << "A &amp; B &AMP; C" << "A &amp;amp; B &amp;AMP; C" << "A & B &AMP; C";
    QTest::newRow("others untouched") << "<x> \"ö\"" << "<x> \"ö\"" << "<x> \"ö\"";
}

void tst_MarkupText::convertAmpersands()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QFETCH(QString, decoded);
    QCOMPARE(ConvertAmpersands(text, true), encoded);
    QCOMPARE(ConvertAmpersands(text, false), decoded);
    QCOMPARE(ConvertAmpersands(ConvertAmpersands(text, true), false), text);
}

void tst_MarkupText::everyByteSurvivesTheCodePage()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    const QString text = DecodeWindows1252(bytes);
    QCOMPARE(text.size(), 256);
    QCOMPARE(EncodeWindows1252(text), bytes);
}

void tst_MarkupText::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("umlauts as Latin-1") << "Köln Äß" << QByteArray("K\xf6ln \xc4\xdf");
    QTest::newRow("euro and quotes") << "€ „x“ —" << QByteArray("\x80 \x84x\x93 \x97");
    QTest::newRow("undefined byte") << QString(QChar(0x81)) << QByteArray("\x81");
    QTest::newRow("C1 control the code page has no byte for") << QString(QChar(0x80)) << QByteArray("&#128;");
    QTest::newRow("Polish") << "Łódź" << QByteArray("&#321;\xf3" "d&#378;");
    QTest::newRow("emoji") << "\U0001F600!" << QByteArray("&#128512;!");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("&#65533;");
}

void tst_MarkupText::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeWindows1252(text), bytes);
    QByteArray appended("x");
    AppendWindows1252(appended, text);
    QCOMPARE(appended, "x" + bytes);
    if (!bytes.contains('&'))
        QCOMPARE(DecodeWindows1252(bytes), text);
}

void tst_MarkupText::escaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("asValue");
    QTest::addColumn<QString>("asName");
    QTest::newRow("plain") << "Muster Str. 1" << "Muster Str. 1" << "Muster Str. 1";
    QTest::newRow("ampersand") << "Bau & Holz" << "Bau &amp; Holz" << "Bau &amp; Holz";
    QTest::newRow("less than") << "a<b" << "a&lt;b" << "a&lt;b";
    QTest::newRow("greater than") << "a>b" << "a>b" << "a&gt;b";
    QTest::newRow("cdata end") << "x]]>y" << "x]]&gt;y" << "x]]&gt;y";
    QTest::newRow("line break") << "A\r\nB" << "A\r\nB" << "A&#13;&#10;B";
    QTest::newRow("leading slash") << "/Adresse" << "/Adresse" << "&#47;Adresse";
    QTest::newRow("reference text") << "&#345;" << "&amp;#345;" << "&amp;#345;";
}

void tst_MarkupText::escaping()
{
    QFETCH(QString, text);
    QFETCH(QString, asValue);
    QFETCH(QString, asName);
    QCOMPARE(EscapeMarkupText(text), asValue);
    QCOMPARE(EscapeMarkupName(text), asName);
    QCOMPARE(UnescapeMarkup(asValue), text);
    QCOMPARE(UnescapeMarkup(asName), text);
}

void tst_MarkupText::unescapeLeavesUnknownReferences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unescaped");
    QTest::newRow("predefined") << "&lt;&gt;&amp;&quot;&apos;" << "<>&\"'";
    QTest::newRow("decimal and hex") << "&#345;&#x159;&#X159;" << "řř&#X159;";
    QTest::newRow("beyond the BMP") << "&#x1F600;" << "\U0001F600";
    QTest::newRow("unknown name") << "&foo; &AMP;" << "&foo; &AMP;";
    QTest::newRow("no semicolon") << "A & B &amp" << "A & B &amp";
    // "&#0;" is how a key holding NUL is written.
    QTest::newRow("NUL; surrogate, too large stay") << "&#0;&#xD800;&#x110000;"
                                                    << QString(QChar(0)) + "&#xD800;&#x110000;";
    QTest::newRow("empty number") << "&#;&#x;" << "&#;&#x;";
    QTest::newRow("one pass") << "&amp;amp; &amp;#345;" << "&amp; &#345;";
}

void tst_MarkupText::unescapeLeavesUnknownReferences()
{
    QFETCH(QString, text);
    QFETCH(QString, unescaped);
    QCOMPARE(UnescapeMarkup(text), unescaped);
}

ZIDEVAVI_TEST_MAIN(tst_MarkupText)
#include "tst_MarkupText.moc"
