#include "shell/Application.h"
#include "shell/basMain.h"

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    Main();
    return app.exec();
}
