#include "shell/basMain.h"

#include "info/frmSplash.h"
#include "shell/frmMain.h"

#include <QApplication>

frmMain* g_frmMain = nullptr;

void Main(const QStringList& strFiles)
{
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    g_frmMain = new frmMain;
    g_frmMain->Form_Load();

    CloseSplash(splash);
    g_frmMain->show();
    g_frmMain->OpenDocuments(strFiles);
}
