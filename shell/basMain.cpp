#include "shell/basMain.h"

#include "info/frmSplash.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWindow>

frmMain* g_frmMain = nullptr;

namespace {

// A window manager shows a new window only some time after show(); drawn
// before that, nothing of it reaches the screen, and the window stays empty
// for as long as start-up keeps the event loop waiting. So this waits until
// the window is on the screen, draws it, and makes sure the window system has
// drawn it too. Without a window manager the wait is short; it is bounded so
// that a window that is never shown cannot hold up start-up.
void RepaintOnScreen(QWidget* window)
{
    const QDeadlineTimer deadline(2000);
    while (!window->windowHandle()->isExposed() && !deadline.hasExpired()) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
    window->repaint();
    QApplication::sync();
}

}

void Main(const QStringList& strFiles)
{
    auto* splash = new frmSplash;
    splash->show();
    RepaintOnScreen(splash);

    g_frmMain = new frmMain;
    g_frmMain->Form_Load();

    CloseSplash(splash);
    g_frmMain->show();
    g_frmMain->OpenDocuments(strFiles);
}
