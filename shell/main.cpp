#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/basMain.h"

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    Main(DocumentFilesFromCommandLine(QCoreApplication::arguments()));
    return app.exec();
}
