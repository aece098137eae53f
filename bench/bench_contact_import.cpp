// Import › Outlook over generated address books of 10,000 cards (reading,
// sorting and drawing the tree), each beside what merely reading the same
// vCard texts and splitting them into lines takes in the same round:
//   - the vCard folder, one file per card as a vdir keeps them;
//   - one Thunderbird book holding the same cards.
// The target for both is at most 2.5 times the plain reading. Last, the
// reader's time per byte for one card with a quoted-printable value over
// many soft-broken lines, at two sizes: linear reading keeps it level.
//
//   build/bench/bench_contact_import [cards]
#include "document/frmDocument.h"
#include "platform/vcard/VCardReader.h"
#include "tree/clsTreeView.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"
#include "support/AddressBookHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* const FamilyNames[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
                                   "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf"};
const char* const GivenNames[] = {"Anna", "Björn", "Clara", "Dieter", "Emma", "Felix", "Greta", "Hans",
                                  "Ida", "Jörg", "Karla", "Lutz", "Mia", "Nils", "Olga", "Paul"};

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

constexpr int Rounds = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 Timed(const std::function<bool()>& run)
{
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

// The import from the books of one home, without closing its window.
qint64 Import(frmMain& main, const PrintingPrompt& prompt, const AddressBookHome& home, int cards)
{
    qputenv("HOME", home.Path().toLocal8Bit());
    const qint64 nanoseconds = Timed([&] {
        main.mnuOutlook_Click();
        return true;
    });
    const bool complete = !prompt.failed && main.ActiveForm()->trvBaum->Nodes().Count() == cards + 1;
    main.mnuFileClose_Click();
    return complete ? nanoseconds : -1;
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
        std::printf("%-40s median %5.0f ms, %.2f x reading and splitting (best round %.2f x)\n", what,
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
    const int cards = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
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
    }

    const AddressBookHome thunderbirdHome;
    thunderbirdHome.WriteFile(QStringLiteral(".thunderbird/profiles.ini"),
                              "[Profile0]\nName=default\nIsRelative=1\nPath=bench.default\nDefault=1\n");
    AddressBookHome::WriteThunderbirdBook(thunderbirdHome.Path(QStringLiteral(".thunderbird/bench.default/abook.sqlite")),
                                          thunderbirdCards);

    Series baseline;
    Series folder;
    Series thunderbird;
    for (int round = 0; round < Rounds; ++round) {
        const qint64 reading = Timed([&] { return ReadAndSplit(files); });
        baseline.Add(reading, reading);
        folder.Add(Import(main, prompt, folderHome, cards), reading);
        thunderbird.Add(Import(main, prompt, thunderbirdHome, cards), reading);
    }

    std::printf("%d cards, %d rounds\n", cards, Rounds);
    baseline.Print("Reading the vCard texts, splitting lines:");
    folder.Print("Import from the vCard folder:");
    thunderbird.Print("Import from one Thunderbird book:");

    const double small = ReadingNanosecondsPerByte(3000);
    const double large = ReadingNanosecondsPerByte(24000);
    std::printf("Reading one quoted-printable card of 200 KB: %.1f ns/byte, of 1.6 MB: %.1f ns/byte (%.2f x)\n", small,
                large, large / small);
    return 0;
}
