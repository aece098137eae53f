#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/basMain.h"

int main(int argc, char* argv[])
{
    const QStringList files = DocumentFilesFromCommandLine(argc, argv);
    Application app(argc, argv);
    Main(files);
    return app.exec();
}
