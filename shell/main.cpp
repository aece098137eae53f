#include "shell/Application.h"
#include "shell/basMain.h"
#include "shell/CommandLine.h"

int main(int argc, char* argv[])
{
    const QStringList files = DocumentFilesFromCommandLine(argc, argv);
    Application app(argc, argv);
    Main(files);
    return app.exec();
}
