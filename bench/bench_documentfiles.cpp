// Opens and saves a generated address document in a real document window,
// side by side in the same rounds with pugixml's parse and save of the same
// file and with the floor (reading the file and finding every "<"). Prints
// the medians and their ratios, the time per address for each size, and the
// peak memory of an open and of three more opens into the same window, each
// measured in a process of its own.
//
//   build/bench/bench_documentfiles [addresses...]   (default 10000 100000 1000000)
#include "GeneratedDocument.h"
#include "PrintingPrompt.h"
#include "document/frmDocument.h"
#include "model/DocumentFile.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"
#include "tree/clsTreeView.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#ifdef ZIDEVAVI_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr double MiB = 1024.0 * 1024.0;

double Seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// --- memory, in a process of its own -------------------------------------

double StatusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Starts a new peak from the memory resident now; false where the kernel
// does not offer it, so that the peak is the process's whole peak.
bool ResetPeak()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd < 0)
        return false;
    const bool done = ::write(fd, "5", 1) == 1;
    ::close(fd);
    return done;
}

frmDocument* OpenDocumentWindow()
{
    g_frmMain = new frmMain;
    g_frmMain->Form_Load();
    g_frmMain->show();
    g_frmMain->mnuFileNew_Click();
    return g_frmMain->ActiveForm();
}

void Open(frmDocument* document, const QString& file)
{
    document->LoadDoc(file);
    QCoreApplication::processEvents();
}

// Prints: resident before, peak of the first open, resident after it, peak
// of three more opens into the same window, resident after them; MiB.
int MeasureOpenMemory(const QString& file)
{
    frmDocument* document = OpenDocumentWindow();
    QCoreApplication::processEvents();
    const double before = StatusMiB("VmRSS:");
    const bool reset = ResetPeak();
    Open(document, file);
    const double firstPeak = StatusMiB("VmHWM:");
    const double firstHeld = StatusMiB("VmRSS:");
    ResetPeak();
    for (int i = 0; i < 3; ++i)
        Open(document, file);
    std::printf("%.1f %.1f %.1f %.1f %.1f %d\n", before, firstPeak, firstHeld, StatusMiB("VmHWM:"),
                StatusMiB("VmRSS:"), reset ? 1 : 0);
    return 0;
}

#ifdef ZIDEVAVI_HAVE_PUGIXML
int MeasurePugixmlMemory(const QString& file)
{
    const double before = StatusMiB("VmRSS:");
    ResetPeak();
    pugi::xml_document doc;
    if (!doc.load_file(QFile::encodeName(file).constData()))
        return 1;
    std::printf("%.1f %.1f\n", before, StatusMiB("VmHWM:"));
    return 0;
}
#endif

QList<double> RunMeasurement(const char* mode, const QString& file)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), file});
    child.waitForFinished(-1);
    QList<double> numbers;
    for (const QByteArray& word : child.readAllStandardOutput().simplified().split(' '))
        numbers.append(word.toDouble());
    return numbers;
}

void PrintMemory(const QString& file, double fileMiB)
{
    const QList<double> m = RunMeasurement("--memory-open", file);
    if (m.size() < 6) {
        std::printf("  memory: the measuring process failed\n");
        return;
    }
    const double openPeak = m[1] - m[0], held = m[2] - m[0], reopenPeak = m[3] - m[0], heldAfter = m[4] - m[0];
    std::printf("  memory of the open, above the %.0f MiB resident before it%s:\n", m[0],
                m[5] > 0 ? "" : " (peak not resettable here: whole-process peaks)");
    std::printf("    peak %.0f MiB = %.2fx the file (target <= 4.5x); the document then holds %.0f MiB\n", openPeak,
                openPeak / fileMiB, held);
    std::printf("    three more opens into the same window: peak %.0f MiB (target <= open peak + document = %.0f MiB), "
                "resident afterwards %.0f MiB\n",
                reopenPeak, openPeak + held, heldAfter);
#ifdef ZIDEVAVI_HAVE_PUGIXML
    const QList<double> p = RunMeasurement("--memory-pugixml", file);
    if (p.size() >= 2)
        std::printf("    pugixml parse, for comparison: peak %.0f MiB = %.2fx the file\n", p[1] - p[0],
                    (p[1] - p[0]) / fileMiB);
#endif
}

// --- time ------------------------------------------------------------------

double TimeFloor(const QString& file)
{
    QElapsedTimer timer;
    timer.start();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = in.readAll();
    qsizetype tags = 0;
    for (const char* p = bytes.constData(), *end = p + bytes.size();
         (p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)))) != nullptr; ++p)
        ++tags;
    const double seconds = Seconds(timer);
    return tags > 0 ? seconds : -1;
}

struct Timings
{
    std::vector<double> floor, pugixmlParse, pugixmlSave, open, save;
};

#ifdef ZIDEVAVI_HAVE_PUGIXML
// pugixml reads the declared iso-8859-1 and writes the same code page back,
// indented, as the program's file has a line per element.
void TimePugixml(const QString& file, const QString& output, Timings& timings)
{
    QElapsedTimer timer;
    timer.start();
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed = doc->load_file(QFile::encodeName(file).constData());
    timings.pugixmlParse.push_back(Seconds(timer));
    if (!parsed)
        std::fprintf(stderr, "pugixml: %s\n", parsed.description());
    timer.start();
    doc->save_file(QFile::encodeName(output).constData(), "\t", pugi::format_default, pugi::encoding_latin1);
    timings.pugixmlSave.push_back(Seconds(timer));
}
#endif

void PrintRow(const char* what, double seconds, int count, const QString& comparison = QString())
{
    std::printf("  %-34s %8.3f s %7.2f µs/address  %s\n", what, seconds, seconds * 1e6 / count, qPrintable(comparison));
}

QString Ratio(double value, double base, const char* of)
{
    return base > 0 ? QStringLiteral("%1x %2").arg(value / base, 0, 'f', 2).arg(QString::fromUtf8(of)) : QString();
}

}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    PrintingPrompt prompt;
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--memory-open"))
        return MeasureOpenMemory(args[1]);
#ifdef ZIDEVAVI_HAVE_PUGIXML
    if (args.size() == 2 && args[0] == QLatin1String("--memory-pugixml"))
        return MeasurePugixmlMemory(args[1]);
#else
    std::printf("pugixml was not found when this was built (Debian package libpugixml-dev): no comparison.\n");
#endif

    QList<int> counts;
    for (const QString& arg : args)
        counts.append(arg.toInt());
    if (counts.isEmpty())
        counts = {10000, 100000, 1000000};

    frmDocument* document = OpenDocumentWindow();
    QTemporaryDir dir;
    QList<std::pair<double, double>> perAddress;
    for (const int count : counts) {
        const QString input = dir.filePath(QStringLiteral("adressen%1.xml").arg(count));
        const QString output = dir.filePath(QStringLiteral("gespeichert%1.xml").arg(count));
        const QString pugixmlOutput = dir.filePath(QStringLiteral("pugixml%1.xml").arg(count));
        SaveDocumentFile(input, *GenerateDocument(count));
        const QByteArray written = [&] {
            QFile file(input);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        const double fileMiB = double(written.size()) / MiB;
        const int rounds = count >= 1000000 ? 3 : 7;

        Timings timings;
        bool same = true;
        for (int round = 0; round < rounds; ++round) {
            timings.floor.push_back(TimeFloor(input));
#ifdef ZIDEVAVI_HAVE_PUGIXML
            TimePugixml(input, pugixmlOutput, timings);
#endif
            // A clean window each round, as a user opening a file has.
            document->m_objFirma.reset();
            document->trvBaum->Nodes().Clear();
            QElapsedTimer timer;
            timer.start();
            Open(document, input);
            timings.open.push_back(Seconds(timer));
            timer.start();
            document->SaveDoc(output);
            timings.save.push_back(Seconds(timer));
            if (round == 0) {
                QFile saved(output);
                same = saved.open(QIODevice::ReadOnly) && saved.readAll() == written
                       && document->trvBaum->Nodes().Count() == count + 1;
            }
        }
        if (prompt.failed || !same) {
            std::printf("%d addresses: the open or save failed, or the saved file differs from the opened one\n",
                        count);
            return 1;
        }

        const double floor = Median(timings.floor), open = Median(timings.open), save = Median(timings.save);
        const double parse = Median(timings.pugixmlParse), pugixmlSave = Median(timings.pugixmlSave);
        std::printf("\n%d addresses, %.1f MiB, medians of %d rounds (the saved file equals the opened one):\n", count,
                    fileMiB, rounds);
        PrintRow("floor: read, find every \"<\"", floor, count);
        if (parse > 0) {
            PrintRow("pugixml parse (load_file)", parse, count);
            PrintRow("pugixml save (save_file)", pugixmlSave, count);
        }
        PrintRow("open: read, records, tree", open, count,
                 Ratio(open, parse, "pugixml parse (target <= 1.0)") + QStringLiteral(", ")
                     + Ratio(open, floor, "the floor"));
        PrintRow("save", save, count, Ratio(save, pugixmlSave, "pugixml save (target <= 0.8)"));
        perAddress.append({open * 1e6 / count, save * 1e6 / count});
        document->m_objFirma.reset();
        document->trvBaum->Nodes().Clear();
        PrintMemory(input, fileMiB);
        QFile::remove(input);
        QFile::remove(output);
        QFile::remove(pugixmlOutput);
    }

    std::printf("\ntime per address (should be flat):\n%12s %14s %14s\n", "addresses", "open µs", "save µs");
    for (qsizetype i = 0; i < counts.size(); ++i)
        std::printf("%12d %14.2f %14.2f\n", counts[i], perAddress[i].first, perAddress[i].second);

    delete g_frmMain;
    g_frmMain = nullptr;
    return 0;
}
