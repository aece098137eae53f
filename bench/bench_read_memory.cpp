// The peak memory of opening a document and of importing an Outlook CSV
// export or a vCard file, each of tiny records (the most memory per byte)
// and of typical ones, as a multiple of the file's size: the factors the
// program assumes when it checks a file against the memory available before
// reading it. Each is measured in a process of its own, with a document
// window as the user has.
//
//   build/bench/bench_read_memory [MiB]   (default 20)
#include "ProcessMemory.h"
#include "document/frmDocument.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Kind
{
    const char* name;
    const char* suffix;
    QByteArray head, record, tail;
};

const Kind Kinds[] = {
    {"document", "xml", "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<Firma> \r\n", "<Adresse> \r\n</Adresse> \r\n",
     "</Firma> \r\n"},
    {"Outlook CSV", "csv", "Vorname,Nachname,E-Mail-Adresse\r\n", "a,b,c@d\r\n", ""},
    {"vCard file", "vcf", "", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:a\r\nEND:VCARD\r\n", ""},
    // Records as people have them, for comparison.
    {"CSV, typical", "csv",
     "Anrede,Vorname,Nachname,Firma,Abteilung,Position,Stra\xdf" "e gesch\xe4" "ftlich,Ort gesch\xe4" "ftlich,"
     "Postleitzahl gesch\xe4" "ftlich,Land/Region gesch\xe4" "ftlich,Telefon gesch\xe4" "ftlich,Mobiltelefon,"
     "Fax gesch\xe4" "ftlich,E-Mail-Adresse,Webseite\r\n",
     "Frau,Anna,Adler,Adler & S\xf6" "hne GmbH,Vertrieb,Leiterin,Hauptstra\xdf" "e 12,K\xf6" "ln,50667,Deutschland,"
     "0221 123456,0170 1234567,0221 123457,anna.adler@adler-soehne.example,https://adler-soehne.example\r\n",
     ""},
    {"vCard, typical", "vcf", "",
     "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:4f1c2a9e-0b7d-4c55-9a61-2d3e4f5a6b7c\r\nFN:Anna Adler\r\n"
     "N:Adler;Anna;;Frau;\r\nORG:Adler & S\xc3\xb6hne GmbH;Vertrieb\r\nTITLE:Leiterin\r\n"
     "ADR;TYPE=WORK:;;Hauptstra\xc3\x9f" "e 12;K\xc3\xb6ln;;50667;Deutschland\r\nTEL;TYPE=WORK:0221 123456\r\n"
     "TEL;TYPE=CELL:0170 1234567\r\nEMAIL;TYPE=WORK:anna.adler@adler-soehne.example\r\n"
     "URL:https://adler-soehne.example\r\nEND:VCARD\r\n",
     ""},
};

// Child: opens or imports the file into a document window; prints the
// memory it took at its peak, in MiB.
int Measure(const QString& suffix, const QString& file)
{
    g_frmMain = new frmMain;
    g_frmMain->Form_Load();
    g_frmMain->show();
    g_frmMain->mnuFileNew_Click();
    frmDocument* document = g_frmMain->ActiveForm();
    QCoreApplication::processEvents();
    const double before = StatusMiB("VmRSS:");
    ResetPeak();
    if (suffix == QLatin1String("xml"))
        document->LoadDoc(file);
    else if (suffix == QLatin1String("csv"))
        document->LoadOutlookCsvFile(file);
    else
        document->LoadVCardFile(file);
    QCoreApplication::processEvents(); // the tree lays out what it shows
    std::printf("%.1f\n", StatusMiB("VmHWM:") - before);
    return 0;
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    PrintingPrompt prompt;
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--measure"))
        return Measure(args[1], args[2]);

    const qint64 size = (args.isEmpty() ? 20 : args[0].toLongLong()) << 20;
    QTemporaryDir dir;
    for (const Kind& kind : Kinds) {
        const QString file = dir.filePath(QStringLiteral("tiny.") + QLatin1String(kind.suffix));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write(kind.head);
        const QByteArray block = kind.record.repeated(qsizetype(1 << 16) / kind.record.size());
        while (out.size() + block.size() < size)
            out.write(block);
        out.write(kind.tail);
        out.close();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--measure"), QLatin1String(kind.suffix), file});
        child.waitForFinished(-1);
        const double peak = child.readAllStandardOutput().trimmed().toDouble();
        const double fileMiB = double(QFile(file).size()) / (1 << 20);
        std::printf("%-15s %7.1f MiB file  %8.1f MiB peak  factor %5.1f\n", kind.name, fileMiB, peak, peak / fileMiB);
    }
    return 0;
}
