// Import › Outlook over a generated address book of 10,000 cards, one file
// each as a vdir keeps them: reading, sorting and drawing the tree. The
// target is under one second per import.
//
// Import › Outlook-CSV-Datei over one generated export of 50,000 contacts,
// timed beside reading the same file and splitting it into lines. The
// target is at most 2.5 times that.
//
//   build/bench/bench_contact_import [cards] [csv contacts]
#include "document/frmDocument.h"
#include "model/CodePage1252.h"
#include "model/clsTreeView.h"
#include "platform/ContactStore.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

// The best of several runs, in milliseconds.
template <typename Run>
double BestMilliseconds(int runs, Run run)
{
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
        best = i == 0 ? milliseconds : std::min(best, milliseconds);
    }
    return best;
}

}

int main(int argc, char* argv[])
{
    const int cards = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);

    const QString contacts = dataHome.path() + QStringLiteral("/contacts/default");
    QDir().mkpath(contacts);
    for (int i = 0; i < cards; ++i) {
        QFile file(contacts + QStringLiteral("/card-%1.vcf").arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(GeneratedCard(i));
    }

    PrintingPrompt prompt;
    frmMain main;
    g_frmMain = &main;
    main.show();

    constexpr int Runs = 5;
    std::vector<double> milliseconds;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        main.mnuOutlook_Click();
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
        const frmDocument* document = main.ActiveForm();
        if (prompt.failed || document->trvBaum->Nodes().Count() != cards + 1)
            return 1;
        main.mnuFileClose_Click();
    }

    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("Import of %d cards (read, sort, draw): best %.0f ms, median %.0f ms, worst %.0f ms over %d runs\n",
                cards, milliseconds.front(), milliseconds[Runs / 2], milliseconds.back(), Runs);

    const int csvContacts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50000;
    const QString csvFile = dataHome.filePath(QStringLiteral("Kontakte.csv"));
    {
        QFile file(csvFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(GeneratedOutlookExport(csvContacts)) < 0)
            return 1;
    }
    qsizetype lines = 0;
    const double split = BestMilliseconds(Runs, [&] {
        QFile file(csvFile);
        if (file.open(QIODevice::ReadOnly))
            lines = file.readAll().split('\n').size();
    });
    // The contact source alone, without sorting, records and tree.
    const double read = BestMilliseconds(Runs, [&] {
        CreateContactApplication(csvFile, ContactFileFormat::OutlookCsv)
            ->GetNamespace(QStringLiteral("MAPI"))
            ->GetDefaultFolder(ContactNamespace::FolderContacts)
            ->Items();
    });
    const double import = BestMilliseconds(Runs, [&] {
        main.mnuFileNew_Click();
        main.ActiveForm()->LoadOutlookCsvFile(csvFile);
    });
    if (prompt.failed || main.ActiveForm()->trvBaum->Nodes().Count() != csvContacts + 1)
        return 1;
    std::printf("Outlook CSV export of %d contacts (%.1f MB, %lld lines), best of %d runs:\n"
                "  reading the file and splitting it into lines  %4.0f ms\n"
                "  reading the contacts (the contact source)     %4.0f ms  %5.2f times\n"
                "  import (read, sort, records, tree)            %4.0f ms  %5.2f times (target at most 2.5)\n",
                csvContacts, double(QFileInfo(csvFile).size()) / 1e6, qint64(lines), Runs, split, read, read / split,
                import, import / split);
    return 0;
}
