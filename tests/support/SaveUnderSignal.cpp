// Saves a file the way a document is saved and receives a signal halfway
// through, then runs the event loop as the program does. Arguments: the
// file and the signal's number.
#include "platform/FileSystem.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    // As a program started from a desktop, whatever ran the test ignores.
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
    EndOnTerminationSignals([] { QCoreApplication::quit(); });
    ReplacingFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray half(1 << 20, 'x');
    file.Write(half);
    ::raise(std::atoi(argv[2]));
    file.Write(half);
    file.Commit();
    return app.exec();
}
