// Import › Outlook over a generated address book of 10,000 cards, one file
// each as a vdir keeps them: reading, sorting and drawing the tree. The
// target is under one second per import.
//
//   build/bench/bench_contact_import [cards]
#include "document/frmDocument.h"
#include "tree/clsTreeView.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    return 0;
}
