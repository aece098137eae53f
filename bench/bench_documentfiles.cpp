// Opens and saves a generated address document in a real document window,
// side by side in the same rounds with pugixml's parse and save of the same
// file, with the floor (mapping the file with its pages brought in and
// finding every "<"), and with opening a flat and a nested document of the
// same addresses. Prints the medians, their ratios round by round with
// their spread, the time per address for each size, and the peak memory of
// an open, of three more opens into the same window and of an open and a
// save, each measured in a process of its own.
//
//   build/bench/bench_documentfiles [--warm] [addresses...]   (default 10000 100000 1000000)
//   build/bench/bench_documentfiles --write file addresses     (writes the realistic document)
#include "ProcessMemory.h"
#include "document/frmDocument.h"
#include "GeneratedDocument.h"
#include "model/DocumentFile.h"
#include "platform/Memory.h"
#include "PrintingPrompt.h"
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
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
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

// Prints: resident before, peak of an open and a save of the document to a
// file beside it; MiB.
int MeasureOpenSaveMemory(const QString& file)
{
    frmDocument* document = OpenDocumentWindow();
    QCoreApplication::processEvents();
    const double before = StatusMiB("VmRSS:");
    ResetPeak();
    Open(document, file);
    document->SaveDoc(file + QStringLiteral(".saved"));
    std::printf("%.1f %.1f\n", before, StatusMiB("VmHWM:"));
    QFile::remove(file + QStringLiteral(".saved"));
    return 0;
}

#ifdef ZIDEVAVI_HAVE_PUGIXML
// The same for pugixml's parse, and its save when asked for.
int MeasurePugixmlMemory(const QString& file, bool save)
{
    const double before = StatusMiB("VmRSS:");
    ResetPeak();
    pugi::xml_document doc;
    if (!doc.load_file(QFile::encodeName(file).constData()))
        return 1;
    if (save) {
        const QByteArray saved = QFile::encodeName(file + QStringLiteral(".saved"));
        doc.save_file(saved.constData(), "\t", pugi::format_default, pugi::encoding_latin1);
    }
    std::printf("%.1f %.1f\n", before, StatusMiB("VmHWM:"));
    QFile::remove(file + QStringLiteral(".saved"));
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
    const QList<double> s = RunMeasurement("--memory-open-save", file);
    if (s.size() >= 2)
        std::printf("    open, then save: peak %.0f MiB = %.2fx the file (target <= 3.5x)\n", s[1] - s[0],
                    (s[1] - s[0]) / fileMiB);
#ifdef ZIDEVAVI_HAVE_PUGIXML
    const QList<double> p = RunMeasurement("--memory-pugixml", file);
    if (p.size() >= 2)
        std::printf("    pugixml parse, for comparison: peak %.0f MiB = %.2fx the file\n", p[1] - p[0],
                    (p[1] - p[0]) / fileMiB);
    const QList<double> ps = RunMeasurement("--memory-pugixml-save", file);
    if (ps.size() >= 2)
        std::printf("    pugixml parse, then save: peak %.0f MiB = %.2fx the file\n", ps[1] - ps[0],
                    (ps[1] - ps[0]) / fileMiB);
#endif
}

// --- time ------------------------------------------------------------------

// Wall time, and the processor time of the whole process, which others'
// work on a shared machine disturbs less.
struct Sample
{
    double wall = 0, cpu = 0;
};

double ProcessorSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Every timed step starts with the memory freed before it handed back, as
// the program hands it back after an open, so that none of them finds
// pages another one left; with --warm, each may reuse them. Nor does any
// step wait for the disk to take what another one wrote: pugixml's save
// leaves its file to the system, while the program's save waits until its
// file is on the disk, and that wait would otherwise include pugixml's.
bool g_warm = false;

class Stopwatch
{
public:
    Stopwatch()
    {
        ::sync();
        if (!g_warm)
            ReturnFreedMemory();
        m_cpu = ProcessorSeconds();
        m_wall.start();
    }
    Sample Stop() const { return {Seconds(m_wall), ProcessorSeconds() - m_cpu}; }

private:
    QElapsedTimer m_wall;
    double m_cpu;
};

Sample Median(std::vector<Sample> samples)
{
    std::vector<double> wall, cpu;
    for (const Sample& sample : samples) {
        wall.push_back(sample.wall);
        cpu.push_back(sample.cpu);
    }
    return {Median(wall), Median(cpu)};
}

// The least any open must do: map the file with its pages brought in and
// find every "<".
Sample TimeFloor(const QString& file)
{
    const Stopwatch watch;
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_size == 0)
        return {};
    const size_t size = size_t(info.st_size);
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (mapping == MAP_FAILED)
        return {};
    qsizetype tags = 0;
    const char* end = static_cast<const char*>(mapping) + size;
    for (const char* p = static_cast<const char*>(mapping);
         (p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)))) != nullptr; ++p)
        ++tags;
    ::munmap(mapping, size);
    return tags > 0 ? watch.Stop() : Sample();
}

struct Timings
{
    std::vector<Sample> floor, pugixmlParse, pugixmlSave, open, save, flat, nested;
};

// The wall-time ratios of a and b round by round: median, least, most.
QString Spread(const std::vector<Sample>& a, const std::vector<Sample>& b)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (b[i].wall > 0)
            ratios.push_back(a[i].wall / b[i].wall);
    }
    if (ratios.empty())
        return QStringLiteral("-");
    const auto [least, most] = std::minmax_element(ratios.begin(), ratios.end());
    return QStringLiteral("%1x (rounds %2x to %3x)")
        .arg(Median(ratios), 0, 'f', 2)
        .arg(*least, 0, 'f', 2)
        .arg(*most, 0, 'f', 2);
}

#ifdef ZIDEVAVI_HAVE_PUGIXML
// pugixml reads the declared iso-8859-1 and writes the same code page back,
// indented, as the program's file has a line per element.
void TimePugixml(const QString& file, const QString& output, Timings& timings)
{
    auto doc = std::make_unique<pugi::xml_document>();
    const Stopwatch parse;
    const pugi::xml_parse_result parsed = doc->load_file(QFile::encodeName(file).constData());
    timings.pugixmlParse.push_back(parse.Stop());
    if (!parsed)
        std::fprintf(stderr, "pugixml: %s\n", parsed.description());
    const Stopwatch save;
    doc->save_file(QFile::encodeName(output).constData(), "\t", pugi::format_default, pugi::encoding_latin1);
    timings.pugixmlSave.push_back(save.Stop());
}
#endif

QString Ratio(double value, double base)
{
    return base > 0 ? QString::number(value / base, 'f', 2) + QLatin1Char('x') : QStringLiteral("-");
}

void PrintRow(const char* what, const Sample& sample, int count, const Sample& base = {}, const char* of = "")
{
    std::printf("  %-30s %7.3f s %7.3f s %7.2f µs", what, sample.wall, sample.cpu, sample.wall * 1e6 / count);
    if (base.wall > 0)
        std::printf("   %s (processor %s) %s", qPrintable(Ratio(sample.wall, base.wall)),
                    qPrintable(Ratio(sample.cpu, base.cpu)), of);
    std::printf("\n");
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
    // The realistic document alone, for measuring the program itself.
    if (args.size() == 3 && args[0] == QLatin1String("--write")) {
        SaveDocumentFile(args[1], *GenerateDocument(args[2].toInt()));
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("--memory-open"))
        return MeasureOpenMemory(args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("--memory-open-save"))
        return MeasureOpenSaveMemory(args[1]);
#ifdef ZIDEVAVI_HAVE_PUGIXML
    if (args.size() == 2 && args[0] == QLatin1String("--memory-pugixml"))
        return MeasurePugixmlMemory(args[1], false);
    if (args.size() == 2 && args[0] == QLatin1String("--memory-pugixml-save"))
        return MeasurePugixmlMemory(args[1], true);
#else
    std::printf("pugixml was not found when this was built (Debian package libpugixml-dev): no comparison.\n");
#endif

    QList<int> counts;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--warm"))
            g_warm = true;
        else
            counts.append(arg.toInt());
    }
    if (counts.isEmpty())
        counts = {10000, 100000, 1000000};

    frmDocument* document = OpenDocumentWindow();
    QTemporaryDir dir;
    QList<std::pair<Sample, Sample>> perAddress; // open, save
    for (const int count : counts) {
        const QString input = dir.filePath(QStringLiteral("adressen%1.xml").arg(count));
        const QString output = dir.filePath(QStringLiteral("gespeichert%1.xml").arg(count));
        const QString pugixmlOutput = dir.filePath(QStringLiteral("pugixml%1.xml").arg(count));
        const QString flatInput = dir.filePath(QStringLiteral("flach%1.xml").arg(count));
        const QString nestedInput = dir.filePath(QStringLiteral("verschachtelt%1.xml").arg(count));
        SaveDocumentFile(input, *GenerateDocument(count));
        SaveDocumentFile(flatInput, *GenerateDocument(count, DocumentShape::Flat));
        SaveDocumentFile(nestedInput, *GenerateDocument(count, DocumentShape::Nested));
        const QByteArray written = [&] {
            QFile file(input);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        const double fileMiB = double(written.size()) / MiB;
        const int rounds = count >= 1000000 ? 3 : 9;

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
            const Stopwatch open;
            Open(document, input);
            timings.open.push_back(open.Stop());
            const Stopwatch save;
            document->SaveDoc(output);
            timings.save.push_back(save.Stop());
            if (round == 0) {
                QFile saved(output);
                same = saved.open(QIODevice::ReadOnly) && saved.readAll() == written
                       && document->trvBaum->Nodes().Count() == count + 1;
            }
            // The same addresses, all top-level and in groups of 100.
            for (const auto& [file, samples] :
                 {std::pair{flatInput, &timings.flat}, std::pair{nestedInput, &timings.nested}}) {
                document->m_objFirma.reset();
                document->trvBaum->Nodes().Clear();
                const Stopwatch shaped;
                Open(document, file);
                samples->push_back(shaped.Stop());
                same = same && document->trvBaum->Nodes().Count() == count + 1;
            }
        }
        if (prompt.failed || !same) {
            std::printf("%d addresses: the open or save failed, or the saved file differs from the opened one\n",
                        count);
            return 1;
        }

        const Sample floor = Median(timings.floor), open = Median(timings.open), save = Median(timings.save);
        const Sample parse = Median(timings.pugixmlParse), pugixmlSave = Median(timings.pugixmlSave);
        std::printf("\n%d addresses, %.1f MiB, medians of %d rounds (the saved file equals the opened one):\n"
                    "  %-30s %9s %9s %10s\n",
                    count, fileMiB, rounds, "", "wall", "processor", "per address");
        PrintRow("floor: map, find every \"<\"", floor, count);
        PrintRow("pugixml parse (load_file)", parse, count);
        PrintRow("pugixml save (save_file)", pugixmlSave, count);
        PrintRow("open: read, records, tree", open, count, parse, "pugixml parse (target <= 1.0)");
        PrintRow("save", save, count, pugixmlSave, "pugixml save (target <= 0.8)");
        PrintRow("open the flat document", Median(timings.flat), count);
        PrintRow("open the nested one", Median(timings.nested), count, Median(timings.flat),
                 "the flat one (target <= 1.2)");
        std::printf("  round by round, wall:\n"
                    "    open    %s pugixml parse (target <= 1.0)\n"
                    "    open    %s the floor (target <= 5)\n"
                    "    pugixml parse %s the floor\n"
                    "    save    %s pugixml save (target <= 0.8)\n"
                    "    nested  %s flat (target <= 1.2)\n",
                    qPrintable(Spread(timings.open, timings.pugixmlParse)),
                    qPrintable(Spread(timings.open, timings.floor)),
                    qPrintable(Spread(timings.pugixmlParse, timings.floor)),
                    qPrintable(Spread(timings.save, timings.pugixmlSave)),
                    qPrintable(Spread(timings.nested, timings.flat)));
        perAddress.append({{open.wall * 1e6 / count, open.cpu * 1e6 / count},
                           {save.wall * 1e6 / count, save.cpu * 1e6 / count}});
        document->m_objFirma.reset();
        document->trvBaum->Nodes().Clear();
        PrintMemory(input, fileMiB);
        QFile::remove(input);
        QFile::remove(output);
        QFile::remove(pugixmlOutput);
        QFile::remove(flatInput);
        QFile::remove(nestedInput);
    }

    std::printf("\ntime per address in µs (should be flat), wall and processor:\n%12s %16s %16s\n", "addresses",
                "open", "save");
    for (qsizetype i = 0; i < counts.size(); ++i) {
        const auto& [open, save] = perAddress[i];
        std::printf("%12d %8.2f %7.2f %8.2f %7.2f\n", counts[i], open.wall, open.cpu, save.wall, save.cpu);
    }

    delete g_frmMain;
    g_frmMain = nullptr;
    return 0;
}
