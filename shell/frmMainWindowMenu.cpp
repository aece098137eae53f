// The Fenster menu: arranging the document windows and choosing one.
#include "shell/frmMain.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

void frmMain::mnuWindowCascade_Click()
{
    m_mdiArea->cascadeSubWindows();
}

void frmMain::mnuWindowTile_Click()
{
    m_mdiArea->tileSubWindows();
}

// The minimised windows in rows along the bottom of the workspace, from the
// left, as they are put when minimised; one moved away comes back.
void frmMain::mnuWindowArrange_Click()
{
    const QRect area = m_mdiArea->viewport()->rect();
    int left = 0;
    int bottom = area.height();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (left > 0 && left + size.width() > area.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}

void frmMain::CreateWindowList()
{
    m_windowList = new QActionGroup(this);
    connect(findChild<QMenu*>(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this, &frmMain::UpdateWindowList);
    UpdateWindowList();
}

void frmMain::UpdateWindowList()
{
    auto* menu = findChild<QMenu*>(QStringLiteral("mnuWindow"));
    for (QAction* action : m_windowList->actions())
        delete action;
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    findChild<QAction*>(QStringLiteral("mnuWindowBar"))->setVisible(!windows.isEmpty());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        // A caption is a path or "Document n"; an "&" in it is no access key.
        QString caption = window->widget()->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption) : caption);
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->currentSubWindow());
        m_windowList->addAction(action);
        connect(action, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
            if (target)
                m_mdiArea->setActiveSubWindow(target);
        });
    }
}
