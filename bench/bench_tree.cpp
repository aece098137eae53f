// Drawing a large document into the tree, records already in memory.
// Run: build/bench/bench_tree
#include "model/clsFirma.h"
#include "tree/clsTreeView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

FirmaRef MakeCompany(int addresses)
{
    auto firma = std::make_shared<clsFirma>();
    firma->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Outlook Adressen"));
    firma->m_dicSpalten.Assign(QStringLiteral("Node"), qint32(1));
    for (int i = 0; i < addresses; ++i) {
        auto adresse = std::make_shared<clsAdresse>();
        const qint32 number = i + 2;
        adresse->m_dicSpalten.Assign(QStringLiteral("Node"), number);
        adresse->m_dicSpalten.Assign(QStringLiteral("Name"), QStringLiteral("Mustermann %1, Erika").arg(i));
        firma->m_dicAdressen.Add(QString::number(number), adresse);
    }
    return firma;
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    clsTreeView tree;
    tree.resize(320, 350);
    if (!qEnvironmentVariableIsSet("NOSHOW")) tree.show();
    for (int count : {1000, 10000, 100000}) {
        FirmaRef firma = MakeCompany(count);
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            firma->ShowTree(tree);
            QApplication::processEvents(); // let the view lay out what it shows
            best = std::min(best, timer.nsecsElapsed() / 1e9);
        }
        out << QStringLiteral("draw %1 addresses: %2 s (best of 3)\n").arg(count, 6).arg(best, 0, 'f', 4);
    }
    return 0;
}
