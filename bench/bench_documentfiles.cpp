// Times opening and saving generated address documents of 1,000, 10,000 and
// 100,000 addresses with twenty columns each, in a real document window, and
// xmllint on the largest file for comparison.
//
//   build/bench/bench_documentfiles [count...]
#include "document/frmDocument.h"
#include "model/CodePage1252.h"
#include "model/DocumentFile.h"
#include "tree/clsTreeView.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char* const Columns[20] = {"Typ", "Anrede", "Titel", "Name", "Vorname", "Name2", "Name3",
                                 "Abteilung", "Funktion", "Strasse", "PLZ", "Ort", "Land", "Telefon",
                                 "Telefon2", "Mobiltelefon", "Fax", "EMail", "Internet", "Kennzeichen"};

// Exactly the bytes the program writes for such a document, so a save of the
// opened file must give them back.
QByteArray GenerateDocument(int count)
{
    QByteArray out = DocumentHeaderLine + "\r\n<Firma> \r\n<Name>Outlook Adressen</Name> \r\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray values[20] = {
            "Kontakt", i % 2 ? "Herr" : "Frau", i % 7 ? "" : "Dr.", "M\xfcller " + n, "Hans",
            "Gro\xdfhandel & Co. KG", "", "Einkauf", "Leitung", "Hauptstra\xdf" "e " + n,
            QByteArray::number(10000 + i % 90000), "K\xf6ln", "Deutschland", "+49 221 " + n,
            "", "+49 170 " + n, "+49 221 9" + n, "kontakt" + n + "@example.org", "www.example.org", ""};
        out += "<Adresse> \r\n";
        for (int c = 0; c < 20; ++c) {
            QByteArray value = values[c];
            value.replace("&", "&amp;");
            out += '<' + QByteArray(Columns[c]) + '>' + value + "</" + Columns[c] + "> \r\n";
        }
        out += "</Adresse> \r\n";
    }
    out += "</Firma> \r\n";
    return out;
}

// Peak resident memory since the last reset, in MiB.
void ResetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double MemoryMiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field))
                return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

double PeakMemoryMiB()
{
    return MemoryMiB("VmHWM:");
}

double Seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

void TimeXmllint(const QString& file)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) {
        std::printf("xmllint not found (Debian package libxml2-utils); no comparison.\n");
        return;
    }
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(xmllint, {QStringLiteral("--noout"), file});
    process.waitForFinished(-1);
    std::printf("xmllint --noout on the same file: %.3f s (exit %d)\n", Seconds(timer), process.exitCode());
}

// The steps of an open and a save one by one, on the largest file.
void PrintBreakdown(frmDocument* document, const QString& file)
{
    QElapsedTimer timer;
    timer.start();
    const QByteArray bytes = ReadDocumentFile(file);
    const double read = Seconds(timer);
    timer.start();
    const QString text = DocumentFileText(bytes);
    const double decode = Seconds(timer);
    document->m_lngID = 0;
    auto firma = std::make_shared<clsFirma>();
    timer.start();
    firma->LoadFromXML(text);
    const double scan = Seconds(timer);
    timer.start();
    firma->ShowTree(*document->trvBaum);
    const double draw = Seconds(timer);
    timer.start();
    const QByteArray encoded = DocumentFileBytes(*firma);
    const double build = Seconds(timer);
    timer.start();
    {
        QSaveFile again(file + QStringLiteral(".again"));
        again.open(QIODevice::WriteOnly);
        again.write(encoded);
        again.commit();
    }
    const double write = Seconds(timer);
    timer.start();
    firma.reset();
    const double drop = Seconds(timer);
    std::printf("open: read %.3f s, decode %.3f s, records %.3f s, tree %.3f s\n", read, decode, scan, draw);
    std::printf("save, in two steps: bytes %.3f s, write %.3f s; dropping the records %.3f s\n", build, write, drop);
}

}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    PrintingPrompt prompt;

    QList<int> counts;
    for (const QString& arg : app.arguments().mid(1))
        counts.append(arg.toInt());
    if (counts.isEmpty())
        counts = {1000, 10000, 100000};

    g_frmMain = new frmMain;
    g_frmMain->Form_Load();
    g_frmMain->show();
    g_frmMain->mnuFileNew_Click();
    frmDocument* document = g_frmMain->ActiveForm();

    QTemporaryDir dir;
    QString largest;
    std::printf("%9s %9s %9s %9s %11s %11s %s\n", "addresses", "file MiB", "open s", "save s", "open peak", "save peak",
                "saved bytes equal");
    for (const int count : counts) {
        const QString input = dir.filePath(QStringLiteral("doc%1.xml").arg(count));
        const QString output = dir.filePath(QStringLiteral("doc%1-saved.xml").arg(count));
        double fileMiB = 0;
        {
            const QByteArray bytes = GenerateDocument(count);
            fileMiB = double(bytes.size()) / (1024.0 * 1024.0);
            QFile file(input);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return 1;
        }
        largest = input;

        // A clean window each round, as a user opening a file would have.
        document->m_objFirma.reset();
        document->trvBaum->Nodes().Clear();
        const double baseMiB = MemoryMiB("VmRSS:");
        ResetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        document->LoadDoc(input);
        const double openSeconds = Seconds(timer);
        const double openPeak = PeakMemoryMiB();

        ResetPeakMemory();
        timer.start();
        document->SaveDoc(output);
        const double saveSeconds = Seconds(timer);
        const double savePeak = PeakMemoryMiB();
        if (prompt.failed || document->trvBaum->Nodes().Count() != count + 1)
            return 1;

        QFile in(input), out(output);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::ReadOnly);
        const bool equal = in.readAll() == out.readAll();
        std::printf("%9d %9.1f %9.3f %9.3f %7.0f MiB %7.0f MiB %s\n", count, fileMiB, openSeconds, saveSeconds, openPeak,
                    savePeak, equal ? "yes" : "NO");
        std::printf("          (resident before open: %.0f MiB)\n", baseMiB);
        if (!equal)
            return 1;
    }
    TimeXmllint(largest);
    PrintBreakdown(document, largest);

    delete g_frmMain;
    g_frmMain = nullptr;
    return 0;
}
