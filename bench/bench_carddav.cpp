// Import › CardDAV-Adressbuch of 10,000 cards from a local Radicale (the
// tests' server fixture), round by round beside its peers in the same run:
//   - curl sending the same requests the import sends (discovery from the
//     bare server address, then the addressbook-query) and dropping the
//     answers: the whole import is to take at most 1.5 times as long;
//   - reading the same vCard text (the cards as the server sends them)
//     from a file and splitting it into lines: the time from the end of
//     the last response to the drawn tree is to be at most 2.5 times that.
//
//   build/bench/bench_carddav [cards]
#include "GeneratedNames.h"
#include "document/frmDocument.h"
#include "contacts/carddav/DavXml.h"
#include "tree/clsTreeView.h"
#include "PrintingPrompt.h"
#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"
#include "support/RadicaleServer.h"
#include "support/ScriptedCardDavDialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray Card(int i)
{
    const QString n = QString::number(i);
    return TestCard(QStringLiteral("karte-") + n, QString::fromUtf8(GivenNames[(i / 16) % 16]),
                    QString::fromUtf8(FamilyNames[i % 16]) + n,
                    QStringLiteral("ORG:Firma %1;Vertrieb\r\nTITLE:Referent\r\nADR;TYPE=WORK:;;Hauptstraße %2;Köln;;"
                                   "50667;Deutschland\r\nTEL;TYPE=WORK,VOICE:0221 %3\r\nTEL;TYPE=CELL:0170 %3\r\n"
                                   "EMAIL;TYPE=INTERNET:person%3@example.org\r\n")
                        .arg(i % 97)
                        .arg(i % 200)
                        .arg(n));
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The import's requests, one curl process over one connection as the
// import keeps one.
QStringList CurlArguments(const QUrl& server)
{
    const QString user = RadicaleServer::User + QLatin1Char(':') + RadicaleServer::Password;
    const QUrl home = server.resolved(QUrl(RadicaleServer::User + QLatin1Char('/')));
    const QUrl book = server.resolved(QUrl(RadicaleServer::User + QStringLiteral("/kontakte/")));
    struct Request
    {
        QUrl url;
        int depth;
        QByteArray body;
    };
    const Request requests[] = {{server.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), 0,
                                 DavXml::PropfindDiscovery()},
                                {server, 0, DavXml::PropfindDiscovery()},
                                {home, 0, DavXml::PropfindDiscovery()},
                                {home, 1, DavXml::PropfindBooks()},
                                {book, 1, DavXml::AddressBookQuery()}};
    QStringList arguments{QStringLiteral("--silent"), QStringLiteral("--show-error")};
    bool first = true;
    for (const Request& request : requests) {
        if (!std::exchange(first, false))
            arguments << QStringLiteral("--next");
        arguments << QStringLiteral("-u") << user << QStringLiteral("-X")
                  << (request.body == DavXml::AddressBookQuery() ? QStringLiteral("REPORT") : QStringLiteral("PROPFIND"))
                  << QStringLiteral("-H") << QStringLiteral("Depth: %1").arg(request.depth) << QStringLiteral("-H")
                  << QStringLiteral("Content-Type: application/xml; charset=utf-8") << QStringLiteral("--data-binary")
                  << QString::fromUtf8(request.body) << QStringLiteral("-o") << QStringLiteral("/dev/null")
                  << request.url.toString();
    }
    return arguments;
}

qint64 RunCurl(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess curl;
    curl.start(QStringLiteral("curl"), arguments);
    if (!curl.waitForFinished(600000) || curl.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed();
}

// The vCard text of the book's answer, as the import reads it.
QByteArray VCardText(const QUrl& book)
{
    QProcess curl;
    curl.start(QStringLiteral("curl"),
               {QStringLiteral("--silent"), QStringLiteral("-u"),
                RadicaleServer::User + QLatin1Char(':') + RadicaleServer::Password, QStringLiteral("-X"),
                QStringLiteral("REPORT"), QStringLiteral("-H"), QStringLiteral("Depth: 1"), QStringLiteral("--data-binary"),
                QString::fromUtf8(DavXml::AddressBookQuery()), book.toString()});
    curl.waitForFinished(600000);
    QByteArray text;
    AddressDataReader reader([&](const QByteArray& card) { text += card; });
    reader.AddData(curl.readAllStandardOutput());
    reader.Finish();
    return text;
}

qint64 ReadAndSplit(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qsizetype lines = file.readAll().split('\n').size();
    return lines > 0 ? timer.nsecsElapsed() : -1;
}

// Notes when the progress window closes: the end of the last response.
class TimedDialogs final : public CardDavDialogs
{
public:
    explicit TimedDialogs(QElapsedTimer& clock) : m_clock(clock) { SetCardDavDialogs(this); }
    ~TimedDialogs() override { SetCardDavDialogs(nullptr); }

    bool AskLogin(QWidget*, Login& asked) override
    {
        asked = login;
        return true;
    }
    bool PickBooks(QWidget*, QList<Book>&) override { return true; }
    std::unique_ptr<Progress> ShowProgress(QWidget*, std::function<void()>) override
    {
        return std::make_unique<Window>(*this);
    }

    Login login;
    qint64 closed = 0;

private:
    struct Window final : Progress
    {
        explicit Window(TimedDialogs& owner) : owner(owner) {}
        ~Window() override { owner.closed = owner.m_clock.nsecsElapsed(); }
        void SetText(const QString&) override {}
        TimedDialogs& owner;
    };

    QElapsedTimer& m_clock;
};

}

int main(int argc, char* argv[])
{
    const int cards = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    if (const QString missing = RadicaleServer::Missing(); !missing.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(missing));
        return 1;
    }

    RadicaleServer server;
    QList<QByteArray> texts;
    for (int i = 0; i < cards; ++i)
        texts.append(Card(i));
    server.AddBook(QStringLiteral("kontakte"), QStringLiteral("Kontakte"), texts);
    if (!server.Start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.Error()));
        return 1;
    }
    // The first read fills Radicale's cache; every round after finds it.
    QTemporaryDir dir;
    const QString vcardFile = dir.filePath(QStringLiteral("karten.vcf"));
    {
        QFile file(vcardFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(VCardText(server.BookAddress(QStringLiteral("kontakte")))) <= 0)
            return 1;
    }

    PrintingPrompt prompt;
    frmMain main;
    g_frmMain = &main;
    main.show();
    QElapsedTimer clock;
    TimedDialogs dialogs(clock);
    dialogs.login = {server.Address().toString(), RadicaleServer::User, RadicaleServer::Password};
    const QStringList curlArguments = CurlArguments(server.Address());

    constexpr int Rounds = 5;
    std::vector<double> curlMs, importMs, afterMs, readingMs, wholeRatio, afterRatio;
    for (int round = 0; round < Rounds; ++round) {
        const qint64 curl = RunCurl(curlArguments);
        const qint64 reading = ReadAndSplit(vcardFile);
        clock.start();
        main.mnuCardDav_Click();
        const qint64 import = clock.nsecsElapsed();
        const bool complete = !prompt.failed && main.ActiveForm()->trvBaum->Nodes().Count() == cards + 1;
        main.mnuFileClose_Click();
        if (curl < 0 || reading < 0 || !complete) {
            std::fprintf(stderr, "round %d failed\n", round);
            return 1;
        }
        const qint64 after = import - dialogs.closed;
        curlMs.push_back(double(curl) / 1e6);
        importMs.push_back(double(import) / 1e6);
        afterMs.push_back(double(after) / 1e6);
        readingMs.push_back(double(reading) / 1e6);
        wholeRatio.push_back(double(import) / double(curl));
        afterRatio.push_back(double(after) / double(reading));
    }
    server.Stop();

    std::printf("%d cards from Radicale over http on 127.0.0.1, %d rounds, medians\n", cards, Rounds);
    std::printf("curl, the same requests:                 %7.0f ms\n", Median(curlMs));
    std::printf("Import, sign-in to drawn tree:           %7.0f ms  %.2f x curl (target <= 1.5)\n", Median(importMs),
                Median(wholeRatio));
    std::printf("Reading the vCard text, splitting lines: %7.1f ms\n", Median(readingMs));
    std::printf("End of last response to drawn tree:      %7.1f ms  %.2f x reading and splitting (target <= 2.5)\n",
                Median(afterMs), Median(afterRatio));
    return 0;
}
