// Import › Outlook over generated address books of 10,000 cards (reading,
// sorting, records and drawing the tree), each beside what merely reading
// the same vCard texts and splitting them into lines takes in the same
// round:
//   - the vCard folder, one file per card as a vdir keeps them;
//   - one Thunderbird book holding the same cards;
//   - one Evolution copy of a server book (cache.db) holding them.
// The target for each is at most 2.5 times the plain reading, and so it is
// for reading the vCard folder's contacts alone (the contact source,
// without sorting, records and tree).
//
// Import › Outlook-CSV-Datei over one generated export of 50,000 contacts,
// beside reading the same file and splitting it into lines in the same
// round, with the reading and sorting of its contacts on their own. The
// target is at most 2.5 times the plain reading.
//
// Last, the vCard reader's time per byte for one card with a
// quoted-printable value over many soft-broken lines, at two sizes: linear
// reading keeps it level.
//
// Every timed step starts with the memory freed before it handed back to
// the system; --warm lets it reuse that memory instead.
//
//   build/bench/bench_contact_import [--warm] [cards] [csv contacts]
#include "GeneratedNames.h"
#include "contacts/ContactStore.h"
#include "contacts/vcard/VCardReader.h"
#include "document/frmDocument.h"
#include "model/CodePage1252.h"
#include "platform/Memory.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"
#include "support/AddressBookHome.h"
#include "tree/clsTreeView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray GeneratedCard(int i)
{
    const QByteArray family = FamilyNames[i % 16] + QByteArray::number(i / 256);
    const QByteArray given = GivenNames[(i / 16) % 16];
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:card-" + QByteArray::number(i) + "\r\nN:" + family + ";" + given
           + ";;Herr;\r\nFN:" + given + " " + family + "\r\nORG:Firma " + QByteArray::number(i % 97)
           + ";Vertrieb\r\nTITLE:Referent\r\nADR;TYPE=WORK:;;Hauptstraße " + QByteArray::number(i % 200)
           + ";Köln;;50667;Deutschland\r\nTEL;TYPE=WORK,VOICE:0221 " + QByteArray::number(100000 + i)
           + "\r\nTEL;TYPE=CELL:0170 " + QByteArray::number(200000 + i) + "\r\nEMAIL;TYPE=INTERNET:person"
           + QByteArray::number(i) + "@example.org\r\nURL;TYPE=WORK:https://example.org/" + QByteArray::number(i)
           + "\r\nNOTE:Eine Notiz, die über zwei Zeilen gefaltet wird, damit der Leser auch\r\n  das Entfalten "
             "erledigen muss.\r\nEND:VCARD\r\n";
}

// An export as German Outlook writes it: 92 columns, every value quoted,
// the always-filled fields filled, the empty fields at the end left out,
// Windows-1252. Only the columns the import reads and those Outlook always
// fills are named; the others' names do not matter to the reader.
QByteArray GeneratedOutlookExport(int contacts)
{
    const char* const named[] = {"Anrede", "Vorname", "Weitere Vornamen", "Nachname", "Suffix", "Firma",
                                 "Abteilung", "Position", "Straße geschäftlich", "Straße geschäftlich 2",
                                 "Straße geschäftlich 3", "Ort geschäftlich", "Region geschäftlich",
                                 "Postleitzahl geschäftlich", "Land/Region geschäftlich", "Fax geschäftlich",
                                 "Telefon geschäftlich", "Telefon geschäftlich 2", "Mobiltelefon", "E-Mail-Adresse",
                                 "E-Mail-Typ", "E-Mail: Angezeigter Name", "Geburtstag", "Geschlecht", "Initialen",
                                 "Jahrestag", "Notizen", "Priorität", "Privat", "Vertraulichkeit", "Webseite"};
    constexpr int Columns = 92;
    QList<QByteArray> header;
    for (const char* name : named)
        header << EncodeWindows1252(QString::fromUtf8(name));
    while (header.size() < Columns - 1)
        header << "Feld " + QByteArray::number(header.size() + 1);
    header << "Weiteres Postfach";

    QByteArray out = '"' + header.join("\",\"") + "\"\r\n";
    out.reserve(contacts * 420);
    for (int i = 0; i < contacts; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray family = FamilyNames[i % 16] + n;
        const QByteArray given = GivenNames[(i / 16) % 16];
        const QByteArray mail = "person" + n + "@example.org";
        const QByteArray values[] = {
            i % 2 ? "Herr" : "Frau", given, "", family, "", "Firma " + QByteArray::number(i % 97), "Vertrieb",
            "Referent", "Hauptstraße " + QByteArray::number(i % 200), i % 5 ? "" : "Hinterhaus", "", "Köln", "",
            "50667", "Deutschland", "0221 9" + n, "0221 " + n, "", "0170 " + n, mail, "SMTP",
            given + ' ' + family + " (" + mail + ')', "0.0.00", i % 3 ? "Keine Angabe" : "Männlich",
            given.left(1) + '.' + family.left(1) + '.', "0.0.00",
            i % 4 ? "\r\n" : "Kunde seit 2019.\r\nRückruf \"nachmittags\" erbeten.", "Normal", "Aus", "Normal",
            "https://example.org/" + n};
        QByteArrayList fields;
        for (const QByteArray& value : values) {
            QByteArray quoted = value;
            quoted.replace("\"", "\"\"");
            fields << (value.isEmpty() ? QByteArray() : '"' + EncodeWindows1252(QString::fromUtf8(quoted)) + '"');
        }
        while (fields.last().isEmpty())
            fields.removeLast();
        out += fields.join(',') + "\r\n";
    }
    return out;
}

constexpr int Rounds = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool g_warm = false;

qint64 Timed(const std::function<bool()>& run)
{
    if (!g_warm)
        ReturnFreedMemory();
    QElapsedTimer timer;
    timer.start();
    return run() ? timer.nsecsElapsed() : -1;
}

// The plain work the import cannot avoid: reading the texts, line by line.
bool ReadAndSplit(const QStringList& files)
{
    qsizetype lines = 0;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        lines += file.readAll().split('\n').size();
    }
    return lines > 0;
}

// The first steps of an import: the contact source read (the books of the
// home, or the file), and sorted if asked.
bool ReadContacts(const QString& source, ContactFileFormat format, bool sort)
{
    const std::shared_ptr<ContactItems> items = CreateContactApplication(source, format)
                                                    ->GetNamespace(QStringLiteral("MAPI"))
                                                    ->GetDefaultFolder(ContactNamespace::FolderContacts)
                                                    ->Items();
    if (sort)
        items->Sort(QStringLiteral("[FullName]"), false);
    return items->GetFirst() != nullptr;
}

// The time of an import that filled its window completely; the window is
// closed again.
qint64 Completed(frmMain& main, const PrintingPrompt& prompt, int contacts, qint64 nanoseconds)
{
    const bool complete = !prompt.failed && main.ActiveForm()->trvBaum->Nodes().Count() == contacts + 1;
    main.mnuFileClose_Click();
    return complete ? nanoseconds : -1;
}

// The import from the books of one home.
qint64 Import(frmMain& main, const PrintingPrompt& prompt, const AddressBookHome& home, int cards)
{
    qputenv("HOME", home.Path().toLocal8Bit());
    return Completed(main, prompt, cards, Timed([&] {
                         main.mnuOutlook_Click();
                         return true;
                     }));
}

qint64 ImportCsv(frmMain& main, const PrintingPrompt& prompt, const QString& csvFile, int contacts)
{
    return Completed(main, prompt, contacts, Timed([&] {
                         main.mnuFileNew_Click();
                         main.ActiveForm()->LoadOutlookCsvFile(csvFile);
                         return true;
                     }));
}

// The machine is shared: each round measures the plain reading and both
// imports one after the other, and the ratios are taken round by round.
struct Series
{
    std::vector<double> milliseconds;
    std::vector<double> ratios;

    void Add(qint64 nanoseconds, qint64 baseline)
    {
        if (nanoseconds < 0 || baseline <= 0)
            std::exit(1);
        milliseconds.push_back(double(nanoseconds) / 1e6);
        ratios.push_back(double(nanoseconds) / double(baseline));
    }

    void Print(const char* what) const
    {
        std::printf("%-44s median %5.0f ms, %.2f x reading and splitting (best round %.2f x)\n", what,
                    Median(milliseconds), Median(ratios), *std::min_element(ratios.begin(), ratios.end()));
    }
};

double ReadingNanosecondsPerByte(int softBrokenLines)
{
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"
                            + QByteArray("Eine Notiz mit Umlauten =C3=A4=C3=B6=C3=BC, weich umbrochen.=\r\n")
                                  .repeated(softBrokenLines)
                            + "\r\nFN:Lang\r\nEND:VCARD\r\n";
    std::vector<double> nanoseconds;
    for (int round = 0; round < Rounds; ++round)
        nanoseconds.push_back(double(Timed([&] { return ReadVCards(card).size() == 1; })));
    return Median(nanoseconds) / double(card.size());
}

}

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    g_warm = args.removeAll(QStringLiteral("--warm")) > 0;
    const int cards = args.size() > 0 ? std::max(1, args[0].toInt()) : 10000;
    const int csvContacts = args.size() > 1 ? std::max(1, args[1].toInt()) : 50000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    PrintingPrompt prompt;
    frmMain main;
    g_frmMain = &main;
    main.show();

    const AddressBookHome folderHome;
    const QString contacts = AddressBookHome::VCardFolder() + QStringLiteral("/default");
    QStringList files;
    QList<AddressBookHome::ThunderbirdCard> thunderbirdCards;
    QList<AddressBookHome::CachedCard> serverCards;
    for (int i = 0; i < cards; ++i) {
        const QByteArray text = GeneratedCard(i);
        files.append(folderHome.WriteFile(contacts + QStringLiteral("/card-%1.vcf").arg(i), text));
        // As Thunderbird 102 and later keep a card: the vCard and copies of a
        // few of its fields for looking up.
        const QString uid = QStringLiteral("card-%1").arg(i);
        thunderbirdCards.append({uid,
                                 {{QStringLiteral("DisplayName"), uid},
                                  {QStringLiteral("PrimaryEmail"), uid + QStringLiteral("@example.org")},
                                  {QStringLiteral("LastModifiedDate"), QStringLiteral("1714557600")},
                                  {QStringLiteral("_vCard"), QString::fromUtf8(text)}}});
        serverCards.append({text});
    }

    const AddressBookHome thunderbirdHome;
    thunderbirdHome.WriteFile(QStringLiteral(".thunderbird/profiles.ini"),
                              "[Profile0]\nName=default\nIsRelative=1\nPath=bench.default\nDefault=1\n");
    AddressBookHome::WriteThunderbirdBook(
        thunderbirdHome.Path(QStringLiteral(".thunderbird/bench.default/abook.sqlite")), thunderbirdCards);

    const AddressBookHome evolutionHome;
    AddressBookHome::WriteEvolutionSource(QStringLiteral("bench-carddav"), QStringLiteral("Server"), true,
                                          QStringLiteral("carddav"));
    AddressBookHome::WriteEvolutionCache(QStringLiteral("bench-carddav"), serverCards);

    const QString csvFile = folderHome.WriteFile(QStringLiteral("Kontakte.csv"), GeneratedOutlookExport(csvContacts));

    Series baseline;
    Series folderContacts;
    Series folder;
    Series thunderbird;
    Series evolution;
    Series csvBaseline;
    Series csvRead;
    Series csvSorted;
    Series csv;
    for (int round = 0; round < Rounds; ++round) {
        const qint64 reading = Timed([&] { return ReadAndSplit(files); });
        baseline.Add(reading, reading);
        qputenv("HOME", folderHome.Path().toLocal8Bit());
        folderContacts.Add(Timed([&] { return ReadContacts(QString(), ContactFileFormat::VCard, false); }), reading);
        folder.Add(Import(main, prompt, folderHome, cards), reading);
        thunderbird.Add(Import(main, prompt, thunderbirdHome, cards), reading);
        evolution.Add(Import(main, prompt, evolutionHome, cards), reading);
        const qint64 csvReading = Timed([&] { return ReadAndSplit({csvFile}); });
        csvBaseline.Add(csvReading, csvReading);
        csvRead.Add(Timed([&] { return ReadContacts(csvFile, ContactFileFormat::OutlookCsv, false); }), csvReading);
        csvSorted.Add(Timed([&] { return ReadContacts(csvFile, ContactFileFormat::OutlookCsv, true); }), csvReading);
        csv.Add(ImportCsv(main, prompt, csvFile, csvContacts), csvReading);
    }

    std::printf("%d cards, %d rounds%s\n", cards, Rounds, g_warm ? ", memory freed before a step reused" : "");
    baseline.Print("Reading the vCard texts, splitting lines:");
    folderContacts.Print("Reading the vCard folder's contacts:");
    folder.Print("Import from the vCard folder:");
    thunderbird.Print("Import from one Thunderbird book:");
    evolution.Print("Import from one Evolution server copy:");
    std::printf("Outlook CSV export of %d contacts (%.1f MB)\n", csvContacts, double(QFileInfo(csvFile).size()) / 1e6);
    csvBaseline.Print("Reading the file, splitting lines:");
    csvRead.Print("Reading the file's contacts:");
    csvSorted.Print("Reading and sorting them:");
    csv.Print("Import of the file:");

    const double small = ReadingNanosecondsPerByte(3000);
    const double large = ReadingNanosecondsPerByte(24000);
    std::printf("Reading one quoted-printable card of 200 KB: %.1f ns/byte, of 1.6 MB: %.1f ns/byte (%.2f x)\n", small,
                large, large / small);
    return 0;
}
