// The vCard reader and the contact properties it gives, on bytes in memory.
#include "support/TestMain.h"

#include "contacts/vcard/VCardContact.h"
#include "contacts/vcard/VCardReader.h"
#include "platform/Failure.h"

#include <QStringEncoder>

namespace {

QByteArray Card(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
}

// The one card in the bytes, as a contact.
VCardContact OnlyContact(const QByteArray& bytes)
{
    const std::vector<VCard> cards = ReadVCards(bytes);
    if (cards.size() != 1)
        qFatal("expected one card, got %zu", cards.size());
    return VCardContact(cards.front());
}

QString Property(const QByteArray& bytes, const QString& name)
{
    const VCardContact contact = OnlyContact(bytes);
    const QString* text = contact.Text(name);
    return text ? *text : QStringLiteral("<none>");
}

QByteArray Utf16(QStringConverter::Encoding byteOrder, const QString& text)
{
    QStringEncoder encoder(byteOrder);
    return encoder.encode(text);
}

QByteArray Utf16LeWithBom(const QString& text)
{
    return QByteArray("\xFF\xFE", 2) + Utf16(QStringConverter::Utf16LE, text);
}

}

class TestVCardReader : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");

        QTest::newRow("fold splits a UTF-8 character") << Card("FN:M\xC3\r\n \xBCller\r\n") << u"Müller"_qs;
        QTest::newRow("fold with a tab, LF endings") << QByteArray("BEGIN:VCARD\nFN:Ab\n\tc\nEND:VCARD\n") << u"Abc"_qs;
        QTest::newRow("quoted-printable with soft break")
            << Card("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BC=\r\nller\r\n") << u"Müller"_qs;
        QTest::newRow("soft break splits an escape")
            << Card("FN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=\r\n=BCller\r\n") << u"Müller"_qs;
        QTest::newRow("bare 2.1 parameters") << Card("FN;UTF-8;QUOTED-PRINTABLE:=C3=9F\r\n") << u"ß"_qs;
        QTest::newRow("no charset, not UTF-8: Windows-1252") << Card("FN:M\xFCller \x80\r\n") << u"Müller €"_qs;
        QTest::newRow("no charset, valid UTF-8") << Card("FN:\xC5\x9Auteri\r\n") << u"Śuteri"_qs;
        QTest::newRow("declared charset") << Card("FN;CHARSET=ISO-8859-2:\xA3\xF3\x64\xBC\r\n") << u"Łódź"_qs;
        QTest::newRow("quoted-printable Windows-1252")
            << Card("FN;CHARSET=Windows-1252;ENCODING=QUOTED-PRINTABLE:M=F6=DFlitz\r\n") << u"Mößlitz"_qs;
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF") + Card("FN:J\xC3\xB6rg\r\n") << u"Jörg"_qs;
        QTest::newRow("UTF-16LE byte-order mark")
            << Utf16LeWithBom(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jörg Ähre\r\nEND:VCARD\r\n"_qs) << u"Jörg Ähre"_qs;
        QTest::newRow("names in any case") << QByteArray("begin:vcard\nfn:klein\nend:vcard\n") << u"klein"_qs;
        QTest::newRow("escapes") << Card("FN:a\\,b\\;c\\\\d\\ne\r\n") << u"a,b;c\\d\r\ne"_qs;
        QTest::newRow("colon inside a quoted parameter") << Card("FN;X-P=\"a:b\":Name\r\n") << u"Name"_qs;
        QTest::newRow("line without colon skipped") << Card("Unsinn ohne Doppelpunkt\r\nFN:Gut\r\n") << u"Gut"_qs;
        QTest::newRow("trailing blank after END") << QByteArray("BEGIN:VCARD\nFN:X\nEND:VCARD \n") << u"X"_qs;
        QTest::newRow("2.1 fold keeps its blank")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Leiter der\r\n Abteilung\r\nEND:VCARD\r\n")
            << u"Leiter der Abteilung"_qs;
        QTest::newRow("Latin-1 label on Windows-1252 bytes")
            << Card("FN;CHARSET=ISO-8859-1:\x84\x80 5\x96 6\x93\r\n") << u"„€ 5– 6“"_qs;
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(Property(bytes, u"FullName"_qs), expected);
    }

    void cardPropertiesFillTheOutlookProperties_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");

        const QByteArray n = "N:Muster;Max;Karl;Herr;Dr.\r\n";
        QTest::newRow("FullName from FN") << "FN:Der Max\r\n" + n << u"FullName"_qs << u"Der Max"_qs;
        QTest::newRow("FullName from N") << n << u"FullName"_qs << u"Herr Max Karl Muster Dr."_qs;
        QTest::newRow("FullName, empty FN, from N") << "FN:\r\nN:Muster;Max;;;\r\n" + QByteArray()
                                                    << u"FullName"_qs << u"Max Muster"_qs;
        QTest::newRow("no FullName from ORG") << QByteArray("ORG:Stadtwerke;Einkauf\r\n") << u"FullName"_qs
                                              << QString();
        QTest::newRow("FN repeating ORG without a name is none")
            << QByteArray("FN:Stadtwerke\r\nN:;;;;\r\nORG:Stadtwerke;Einkauf\r\n") << u"FullName"_qs << QString();
        QTest::newRow("LastFirstSpaceOnly empty for Western names") << n << u"LastFirstSpaceOnly"_qs << QString();
        QTest::newRow("LastFirstSpaceOnly for East Asian names")
            << QByteArray("FN:太郎 山田\r\nN:山田;太郎;;;\r\n") << u"LastFirstSpaceOnly"_qs << u"山田 太郎"_qs;
        QTest::newRow("LastFirstSpaceOnly without N") << QByteArray("FN:Max\r\n") << u"LastFirstSpaceOnly"_qs
                                                      << QString();
        QTest::newRow("Title is the prefix") << n << u"Title"_qs << u"Herr"_qs;
        QTest::newRow("Suffix") << n << u"Suffix"_qs << u"Dr."_qs;
        QTest::newRow("FirstName") << n << u"FirstName"_qs << u"Max"_qs;
        QTest::newRow("LastName") << n << u"LastName"_qs << u"Muster"_qs;

        const QByteArray addresses = "ADR;TYPE=HOME:;;Heimweg 1;Bonn;;53111;DE\r\n"
                                     "ADR:;;Ohne Typ 2;Ulm;;89073;DE\r\n"
                                     "item1.ADR;TYPE=WORK,PREF:Postfach 9;;Amtsweg 3\\nHof 2;K\xC3\xB6ln;NRW;50667;"
                                     "Deutschland\r\n";
        QTest::newRow("street of the WORK address, PO box first")
            << addresses << u"BusinessAddressStreet"_qs << u"Postfach 9\r\nAmtsweg 3\r\nHof 2"_qs;
        QTest::newRow("city") << addresses << u"BusinessAddressCity"_qs << u"Köln"_qs;
        QTest::newRow("postal code") << addresses << u"BusinessAddressPostalCode"_qs << u"50667"_qs;
        QTest::newRow("country") << addresses << u"BusinessAddressCountry"_qs << u"Deutschland"_qs;
        QTest::newRow("extended address before the street")
            << QByteArray("ADR;WORK:Postfach 9;Haus B\\, Raum 4;Amtsweg 3;Hof;;1;\r\n") << u"BusinessAddressStreet"_qs
            << u"Postfach 9\r\nHaus B, Raum 4\r\nAmtsweg 3"_qs;
        QTest::newRow("untyped address when there is no WORK one")
            << QByteArray("ADR;HOME:;;Heim;A;;1;\r\nADR;TYPE=OTHER:;;Anders;B;;2;\r\nADR;POSTAL:;;Post;C;;3;\r\n")
            << u"BusinessAddressCity"_qs << u"C"_qs;
        QTest::newRow("no business address from HOME")
            << QByteArray("ADR;HOME:;;Heim;A;;1;\r\n") << u"BusinessAddressCity"_qs << QString();

        const QByteArray phones = "TEL;TYPE=HOME:h\r\nTEL;WORK;FAX:wf\r\nTEL;TYPE=WORK,CELL:wc\r\nTEL;WORK;VOICE:w1\r\n"
                                  "TEL;TYPE=work,pager:wp\r\nTEL;TYPE=WORK:w2\r\nTEL;WORK:w3\r\n";
        QTest::newRow("first work phone") << phones << u"BusinessTelephoneNumber"_qs << u"w1"_qs;
        QTest::newRow("second work phone") << phones << u"Business2TelephoneNumber"_qs << u"w2"_qs;
        QTest::newRow("mobile") << phones << u"MobileTelephoneNumber"_qs << u"wc"_qs;
        QTest::newRow("work fax") << phones << u"BusinessFaxNumber"_qs << u"wf"_qs;
        QTest::newRow("fax without HOME")
            << QByteArray("TEL;HOME;FAX:hf\r\nTEL;TYPE=FAX:f\r\n") << u"BusinessFaxNumber"_qs << u"f"_qs;
        QTest::newRow("untyped phone after the work phone")
            << QByteArray("TEL:u\r\nTEL;HOME:h\r\nTEL;WORK:w\r\n") << u"Business2TelephoneNumber"_qs << u"u"_qs;
        QTest::newRow("untyped phone is a business phone")
            << QByteArray("TEL;HOME:h\r\nTEL;PREF:u\r\n") << u"BusinessTelephoneNumber"_qs << u"u"_qs;
        QTest::newRow("vCard 4 telephone link")
            << QByteArray("TEL;VALUE=uri;TYPE=work:tel:+49-221-1\r\n") << u"BusinessTelephoneNumber"_qs
            << u"+49-221-1"_qs;

        QTest::newRow("preferred e-mail") << QByteArray("EMAIL:a@x\r\nEMAIL;TYPE=INTERNET,PREF:b@x\r\n")
                                          << u"Email1Address"_qs << u"b@x"_qs;
        QTest::newRow("vCard 4 PREF parameter") << QByteArray("EMAIL:a@x\r\nEMAIL;PREF=1:b@x\r\n")
                                                << u"Email1Address"_qs << u"b@x"_qs;
        QTest::newRow("lowest PREF wins") << QByteArray("EMAIL;PREF=2:a@x\r\nEMAIL;PREF=1:b@x\r\nEMAIL;PREF:c@x\r\n")
                                          << u"Email1Address"_qs << u"b@x"_qs;
        QTest::newRow("first e-mail") << QByteArray("EMAIL:a@x\r\nEMAIL:b@x\r\n") << u"Email1Address"_qs << u"a@x"_qs;
        QTest::newRow("work URL") << QByteArray("URL:o\r\nURL;TYPE=HOME:h\r\nURL;WORK:w\r\n") << u"BusinessHomePage"_qs
                                  << u"w"_qs;
        QTest::newRow("the only URL not HOME") << QByteArray("URL;TYPE=HOME:h\r\nURL:http\\://o\r\n")
                                               << u"BusinessHomePage"_qs << u"http://o"_qs;
        QTest::newRow("two untyped URLs: none") << QByteArray("URL:a\r\nURL:b\r\n") << u"BusinessHomePage"_qs
                                                << QString();
        QTest::newRow("department") << QByteArray("ORG:ABC\\, Inc.;Vertrieb;;Nord\r\n") << u"Department"_qs
                                    << u"Vertrieb; Nord"_qs;
        QTest::newRow("job title") << QByteArray("TITLE:Leiterin\r\n") << u"JobTitle"_qs << u"Leiterin"_qs;
        // Outlook keeps multi-line values with CR LF, whichever break the card has.
        QTest::newRow("escaped line break as CR LF") << QByteArray("TITLE:Leiterin\\nEinkauf\r\n") << u"JobTitle"_qs
                                                     << u"Leiterin\r\nEinkauf"_qs;
        QTest::newRow("quoted-printable LF as CR LF")
            << QByteArray("TITLE;ENCODING=QUOTED-PRINTABLE:Leiterin=0AEinkauf=0D\r\n") << u"JobTitle"_qs
            << u"Leiterin\r\nEinkauf\r\n"_qs;
        QTest::newRow("no such property") << QByteArray("FN:x\r\n") << u"CompanyName"_qs << u"<none>"_qs;
    }

    void cardPropertiesFillTheOutlookProperties()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        QCOMPARE(Property(Card(lines), property), expected);
    }

    void genderComesFromGenderOrOutlooksWabGender_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("expected");
        QTest::newRow("GENDER M") << QByteArray("GENDER:M\r\n") << 2;
        QTest::newRow("GENDER F with identity") << QByteArray("GENDER:F;she\r\n") << 1;
        QTest::newRow("GENDER O") << QByteArray("GENDER:O\r\n") << 0;
        QTest::newRow("Outlook's X-WAB-GENDER 1") << QByteArray("X-WAB-GENDER:1\r\n") << 1;
        QTest::newRow("Outlook's X-WAB-GENDER 2") << QByteArray("X-WAB-GENDER:2\r\n") << 2;
        QTest::newRow("X-WAB-GENDER 7") << QByteArray("X-WAB-GENDER:7\r\n") << 0;
        QTest::newRow("none") << QByteArray("FN:x\r\n") << 0;
    }

    void genderComesFromGenderOrOutlooksWabGender()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, expected);
        QCOMPARE(OnlyContact(Card(lines)).gender, expected);
    }

    void groupsAndListsAreDistributionLists_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("person") << QByteArray("FN:x\r\n") << u"ContactItem"_qs;
        QTest::newRow("KIND group") << QByteArray("KIND:group\r\n") << u"DistListItem"_qs;
        QTest::newRow("KIND in other case") << QByteArray("kind:Group\r\n") << u"DistListItem"_qs;
        QTest::newRow("Apple group") << QByteArray("X-ADDRESSBOOKSERVER-KIND:group\r\n") << u"DistListItem"_qs;
        QTest::newRow("members only") << QByteArray("X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:1\r\n")
                                      << u"DistListItem"_qs;
        QTest::newRow("organisation") << QByteArray("KIND:org\r\n") << u"ContactItem"_qs;
        QTest::newRow("Evolution contact list") << QByteArray("X-EVOLUTION-LIST:TRUE\r\n") << u"DistListItem"_qs;
    }

    void groupsAndListsAreDistributionLists()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, expected);
        QCOMPARE(OnlyContact(Card(lines)).typeName, expected);
    }

    void cardBoundaries_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("cards");
        QTest::newRow("two cards") << Card("FN:a\r\n") + Card("FN:b\r\n") << 2;
        QTest::newRow("lines outside cards") << "Vorwort\r\n" + Card("FN:a\r\n") + "FN:lose\r\n" << 1;
        QTest::newRow("embedded agent card")
            << Card("AGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nFN:Chef\r\n") << 1;
        QTest::newRow("last card cut off") << Card("FN:a\r\n") + "BEGIN:VCARD\r\nFN:b\r\n" << 2;
        QTest::newRow("card cut off before the next") << "BEGIN:VCARD\r\nFN:a\r\n" + Card("FN:b\r\n") + Card("FN:c\r\n")
                                                      << 3;
        QTest::newRow("quoted-printable ending in = before END")
            << QByteArray("BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:x=\r\nEND:VCARD\r\n") + Card("FN:b\r\n") << 2;
        QTest::newRow("empty") << QByteArray() << 0;
    }

    void cardBoundaries()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, cards);
        QCOMPARE(int(ReadVCards(bytes).size()), cards);
    }

    // What other programs write and the reader once got wrong: a phone typed
    // only VOICE, UTF-16 without a byte-order mark, one bad byte in UTF-8,
    // a 2.1 fold before a late VERSION, Thunderbird's second address line.
    void cardsAsOtherProgramsWriteThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("thunderbirdBook"); // else a file
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected"); // for no property: the failure's description

        const bool file = false;
        const QString phone = u"BusinessTelephoneNumber"_qs;
        QTest::newRow("phone typed VOICE is an untyped one")
            << Card("TEL;TYPE=HOME:h\r\nTEL;TYPE=VOICE:v\r\n") << file << phone << u"v"_qs;
        QTest::newRow("phone with a bare 2.1 VOICE")
            << Card("TEL;HOME:h\r\nTEL;VOICE:v\r\n") << file << phone << u"v"_qs;
        QTest::newRow("phone typed voice,pref")
            << Card("TEL;TYPE=HOME:h\r\nTEL;TYPE=voice,pref:v\r\n") << file << phone << u"v"_qs;
        QTest::newRow("home voice phone stays private")
            << Card("TEL;TYPE=HOME,VOICE:h\r\n") << file << phone << QString();

        const QString card = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jörg Ähre\r\nEND:VCARD\r\n"_qs;
        const QString name = u"FullName"_qs;
        QTest::newRow("UTF-16LE without a byte-order mark")
            << Utf16(QStringConverter::Utf16LE, card) << file << name << u"Jörg Ähre"_qs;
        QTest::newRow("UTF-16BE without a byte-order mark, lower case")
            << Utf16(QStringConverter::Utf16BE, card.toLower()) << file << name << u"jörg ähre"_qs;
        QTest::newRow("no vCard at all is said")
            << QByteArray("Vorname;Nachname\r\nJ\xF6rg;\xC4hre\r\n") << file << QString()
            << u"Die Datei enthält keine vCard: keine ihrer Zeilen beginnt mit \u201EBEGIN:VCARD\u201C. Sie ist leer, "
               "keine vCard-Datei oder in einer unbekannten Zeichenkodierung geschrieben."_qs;

        QTest::newRow("bad byte in declared UTF-8")
            << Card("FN;CHARSET=UTF-8:M\xC3\xBCller \xFF\r\n") << file << name << u"Müller \uFFFD"_qs;
        QTest::newRow("bad byte in quoted-printable UTF-8 of a 2.1 card")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller=80\r\n"
                          "END:VCARD\r\n")
            << file << name << u"Müller\uFFFD"_qs;
        QTest::newRow("bad byte beside UTF-8 in a 3.0 card") << Card("FN:M\xC3\xBCller \xFF\r\n") << file << name
                                                              << u"Müller \uFFFD"_qs;
        QTest::newRow("2.1 card without charset in Windows-1252")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:M\xFCller \x80\r\nEND:VCARD\r\n") << file << name
            << u"Müller €"_qs;

        const QString job = u"JobTitle"_qs;
        QTest::newRow("2.1 fold before a late VERSION keeps its blank")
            << QByteArray("begin:vcard\r\nfn:Kurt\r\ntitle:Head of\r\n Sales\r\nversion:2.1\r\nend:vcard\r\n")
            << file << job << u"Head of Sales"_qs;
        QTest::newRow("3.0 fold before a late VERSION drops its blank")
            << QByteArray("BEGIN:VCARD\r\nTITLE:Abteilungs\r\n leiter\r\nVERSION:3.0\r\nEND:VCARD\r\n") << file << job
            << u"Abteilungsleiter"_qs;
        QTest::newRow("2.1 rule ends with its card")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\nBEGIN:VCARD\r\nTITLE:Abteilungs\r\n leiter\r\n"
                          "VERSION:4.0\r\nEND:VCARD\r\n")
            << file << job << u"Abteilungsleiter"_qs;

        const QByteArray address = Card("ADR;TYPE=WORK:Postfach 7;Haus 2;Igelweg 3;Ingolstadt;;85049;\r\n");
        const QString street = u"BusinessAddressStreet"_qs;
        QTest::newRow("Thunderbird: second address line after the street")
            << address << true << street << u"Postfach 7\r\nIgelweg 3\r\nHaus 2"_qs;
        QTest::newRow("others: building before the street")
            << address << file << street << u"Postfach 7\r\nHaus 2\r\nIgelweg 3"_qs;
    }

    void cardsAsOtherProgramsWriteThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, thunderbirdBook);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        BookContents contents;
        try {
            if (thunderbirdBook)
                AppendCards(bytes, contents, u"tb-1"_qs, ExtendedAddress::AfterStreet);
            else
                AppendCardsOfFile(bytes, contents);
        } catch (const Failure& failure) {
            QCOMPARE(failure.Description(), expected);
            QVERIFY(property.isEmpty());
            return;
        }
        QVERIFY(!property.isEmpty());
        // The contact the test means is the last one read.
        QVERIFY(!contents.contacts.empty());
        QCOMPARE(contents.contacts.back().TextProperty(property), expected);
    }

    void agentDoesNotLeakIntoOuterCard()
    {
        const VCardContact contact =
            OnlyContact(Card("AGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nN:Chef;Carla\r\n"));
        QCOMPARE(*contact.Text(u"FullName"_qs), u"Carla Chef"_qs);
    }
};

ZIDEVAVI_TEST_MAIN(TestVCardReader)
#include "tst_vcard_reader.moc"
