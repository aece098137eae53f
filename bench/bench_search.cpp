// Suchen through a generated document of 100,000 addresses whose text is
// in its last address only, in a real document window, beside a plain loop
// that compares the same text, ignoring case, with every column value of
// every address, in the same rounds. Prints the medians and their ratio,
// which is to stay at 3 or below.
//
//   build/bench/bench_search [addresses] [rounds]   (default 100000 7)
#include "GeneratedDocument.h"
#include "PrintingPrompt.h"
#include "document/frmDocument.h"
#include "model/RecordSearch.h"
#include "tree/clsTreeView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The yardstick: every column value of every address, in one flat loop.
int PlainLoop(const std::vector<const clsDictionary<ColumnValue>*>& columns, const QString& text)
{
    int hits = 0;
    for (const clsDictionary<ColumnValue>* spalten : columns) {
        for (const auto& [key, value] : *spalten)
            hits += value.Text().contains(text, Qt::CaseInsensitive) ? 1 : 0;
    }
    return hits;
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintingPrompt prompt;
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 7;

    frmDocument document;
    document.show();
    document.m_objFirma = GenerateDocument(count);
    const std::vector<const clsAdresse*> addresses = AddressesInTreeOrder(*document.m_objFirma);
    // Found only in the last address the tree shows; typed in lower case.
    const QString text = QStringLiteral("suchziel östlich");
    const_cast<clsAdresse*>(addresses.back())
        ->m_dicSpalten.Assign(QStringLiteral("Kennzeichen"), QStringLiteral("Suchziel Östlich"));
    document.m_objFirma->ShowTree(*document.trvBaum);
    QApplication::processEvents();

    std::vector<const clsDictionary<ColumnValue>*> columns;
    for (const clsAdresse* adresse : addresses)
        columns.push_back(&adresse->m_dicSpalten);
    qsizetype values = 0;
    for (const auto* spalten : columns)
        values += spalten->Count();

    std::vector<double> search, loop;
    for (int round = 0; round < rounds; ++round) {
        document.trvBaum->collapseAll();
        document.trvBaum->SelectItem(0);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const bool found = document.FindNext(text);
        QApplication::processEvents(); // the hit laid out and drawn
        search.push_back(double(timer.nsecsElapsed()) / 1e9);
        if (!found || document.trvBaum->SelectedItem() != int(addresses.size())) {
            std::fprintf(stderr, "Suchen fand die letzte Adresse nicht.\n");
            return 1;
        }

        timer.start();
        const int hits = PlainLoop(columns, text);
        loop.push_back(double(timer.nsecsElapsed()) / 1e9);
        if (hits != 1) {
            std::fprintf(stderr, "Der Text steht %d-mal im Dokument, nicht einmal.\n", hits);
            return 1;
        }
    }

    const double searchSeconds = Median(search);
    const double loopSeconds = Median(loop);
    const double ratio = searchSeconds / loopSeconds;
    std::printf("%d addresses, %lld column values, median of %d rounds\n", int(addresses.size()),
                static_cast<long long>(values), rounds);
    std::printf("  Suchen (FindNext, hit in the last address): %.4f s\n", searchSeconds);
    std::printf("  plain loop over every column value:         %.4f s\n", loopSeconds);
    std::printf("  ratio %.2f (target: at most 3) %s\n", ratio, ratio <= 3.0 ? "ok" : "TOO SLOW");
    return prompt.failed || ratio > 3.0 ? 1 : 0;
}
