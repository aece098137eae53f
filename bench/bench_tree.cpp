// Drawing a large document into the tree, records already in memory; then,
// on a nested document of 100,000 addresses (1,000 top-level ones with 99
// beneath each) read from its file, "*" on the root (expand all), End, and
// "-" on the root (collapse), each beside drawing the same tree collapsed in
// the same round.
// Run: build/bench/bench_tree
#include "GeneratedDocument.h"
#include "PrintingPrompt.h"
#include "document/frmDocument.h"
#include "model/DocumentFile.h"
#include "model/clsFirma.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds until the view has laid out and painted what the step changed.
template <typename Step>
double Timed(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e9;
}

void Press(clsTreeView& tree, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&tree, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&tree, &release);
}

struct Series
{
    std::vector<double> seconds, ratios;
    void Add(double value, double base)
    {
        seconds.push_back(value);
        ratios.push_back(value / base);
    }
};

void PrintSeries(QTextStream& out, const char* what, const Series& series, const char* target)
{
    const auto [least, most] = std::minmax_element(series.ratios.begin(), series.ratios.end());
    out << QStringLiteral("  %1 %2 s = %3x drawing collapsed (rounds %4x to %5x)%6\n")
               .arg(QString::fromUtf8(what), -22)
               .arg(Median(series.seconds), 0, 'f', 4)
               .arg(Median(series.ratios), 0, 'f', 2)
               .arg(*least, 0, 'f', 2)
               .arg(*most, 0, 'f', 2)
               .arg(QString::fromUtf8(target));
}

// In a document window's tree, the document opened there from its file,
// as a user opens it.
void NestedDocument(QTextStream& out)
{
    const int count = 100000, rounds = 7;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("verschachtelt.xml"));
    SaveDocumentFile(file, *GenerateDocument(count, DocumentShape::Nested));
    const PrintingPrompt prompt;
    frmMain main;
    g_frmMain = &main;
    main.Form_Load();
    main.show();
    main.mnuFileNew_Click();
    frmDocument& document = *main.ActiveForm();
    document.LoadDoc(file);
    const FirmaRef firma = document.m_objFirma;
    if (prompt.failed || !firma) {
        out << "The nested document could not be opened\n";
        return;
    }
    clsTreeView& tree = *document.trvBaum;
    std::vector<double> draw;
    Series expand, end, collapse;
    for (int round = 0; round < rounds; ++round) {
        tree.Nodes().Clear();
        QApplication::processEvents();
        const double drawn = Timed([&] { firma->ShowTree(tree); });
        draw.push_back(drawn);
        tree.SelectItem(0);
        QApplication::processEvents();
        expand.Add(Timed([&] { Press(tree, Qt::Key_Asterisk, QStringLiteral("*")); }), drawn);
        end.Add(Timed([&] { Press(tree, Qt::Key_End); }), drawn);
        if (round == 0 && tree.SelectedItem() != tree.Nodes().Count() - 1) {
            out << "End did not reach the last address: expand all failed\n";
            return;
        }
        Press(tree, Qt::Key_Home);
        QApplication::processEvents();
        collapse.Add(Timed([&] { Press(tree, Qt::Key_Minus, QStringLiteral("-")); }), drawn);
    }
    out << QStringLiteral("nested %1 addresses (%2 top-level), medians of %3 rounds:\n")
               .arg(count)
               .arg(count / 100)
               .arg(rounds);
    out << QStringLiteral("  %1 %2 s\n").arg(QStringLiteral("draw collapsed"), -22).arg(Median(draw), 0, 'f', 4);
    PrintSeries(out, "\"*\" on the root", expand, "  (target <= 0.3 s or <= 3x)");
    PrintSeries(out, "End, all expanded", end, "");
    PrintSeries(out, "\"-\" on the root", collapse, "");
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
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
    tree.hide();
    out.flush();
    NestedDocument(out);
    g_frmMain = nullptr;
    return 0;
}
