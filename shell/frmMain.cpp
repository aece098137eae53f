#include "shell/frmMain.h"

#include "document/frmDocument.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "shell/CommandGuard.h"
#include "shell/StatusBar.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace {

struct MenuEntry
{
    enum Kind { Menu, Separator, Command };
    Kind kind;
    const char* name;
    const char* menu; // the menu that holds the entry; nullptr for the menu bar
    const char* caption;
    const char* shortcut;
    void (frmMain::*command)();
};

// In display order; a menu is listed before its entries.
const MenuEntry MenuEntries[] = {
    {MenuEntry::Menu, "mnuFile", nullptr, "&Datei", nullptr, nullptr},
    {MenuEntry::Command, "mnuFileNew", "mnuFile", "&Neu", "Ctrl+N", &frmMain::mnuFileNew_Click},
    {MenuEntry::Command, "mnuFileOpen", "mnuFile", "Ö&ffnen...", "Ctrl+O", &frmMain::mnuFileOpen_Click},
    {MenuEntry::Command, "mnuFileClose", "mnuFile", "S&chließen", nullptr, &frmMain::mnuFileClose_Click},
    {MenuEntry::Separator, "mnuFileBar0", "mnuFile", nullptr, nullptr, nullptr},
    {MenuEntry::Command, "mnuFileSave", "mnuFile", "&Speichern", nullptr, &frmMain::mnuFileSave_Click},
    {MenuEntry::Command, "mnuFileSaveAs", "mnuFile", "Speichern &unter...", nullptr, &frmMain::mnuFileSaveAs_Click},
    {MenuEntry::Separator, "mnuFileBar", "mnuFile", nullptr, nullptr, nullptr},
    {MenuEntry::Menu, "mnuImport", "mnuFile", "Import", nullptr, nullptr},
    {MenuEntry::Command, "mnuOutlook", "mnuImport", "Outlook", nullptr, &frmMain::mnuOutlook_Click},
    {MenuEntry::Command, "mnuVCard", "mnuImport", "vCard-Datei...", nullptr, &frmMain::mnuVCard_Click},
    {MenuEntry::Command, "mnuOutlookCsv", "mnuImport", "Outlook-CSV-Datei...", nullptr, &frmMain::mnuOutlookCsv_Click},
    {MenuEntry::Command, "mnuCardDav", "mnuImport", "CardDAV-Adressbuch...", nullptr, &frmMain::mnuCardDav_Click},
    {MenuEntry::Separator, "mnuFileBar1", "mnuFile", nullptr, nullptr, nullptr},
    {MenuEntry::Command, "mnuFileExit", "mnuFile", "&Beenden", nullptr, &frmMain::mnuFileExit_Click},
    {MenuEntry::Menu, "mnuEdit", nullptr, "&Bearbeiten", nullptr, nullptr},
    {MenuEntry::Command, "mnuEditCut", "mnuEdit", "&Ausschneiden", "Ctrl+X", &frmMain::mnuEditCut_Click},
    {MenuEntry::Command, "mnuEditCopy", "mnuEdit", "&Kopieren", "Ctrl+C", &frmMain::mnuEditCopy_Click},
    {MenuEntry::Command, "mnuEditPaste", "mnuEdit", "&Einfügen", "Ctrl+V", &frmMain::mnuEditPaste_Click},
    {MenuEntry::Separator, "mnuEditBar", "mnuEdit", nullptr, nullptr, nullptr},
    {MenuEntry::Command, "mnuEditFind", "mnuEdit", "&Suchen...", "Ctrl+F", &frmMain::mnuEditFind_Click},
    {MenuEntry::Command, "mnuEditFindNext", "mnuEdit", "&Weitersuchen", "F3", &frmMain::mnuEditFindNext_Click},
    {MenuEntry::Menu, "mnuWindow", nullptr, "&Fenster", nullptr, nullptr},
    {MenuEntry::Command, "mnuWindowCascade", "mnuWindow", "&Überlappend", nullptr, &frmMain::mnuWindowCascade_Click},
    {MenuEntry::Command, "mnuWindowTile", "mnuWindow", "&Nebeneinander", nullptr, &frmMain::mnuWindowTile_Click},
    {MenuEntry::Command, "mnuWindowArrange", "mnuWindow", "&Symbole anordnen", nullptr,
     &frmMain::mnuWindowArrange_Click},
    {MenuEntry::Separator, "mnuWindowBar", "mnuWindow", nullptr, nullptr, nullptr},
    {MenuEntry::Menu, "mnuHelp", nullptr, "&?", nullptr, nullptr},
    {MenuEntry::Command, "mnuHelpAbout", "mnuHelp", "Inf&o ", nullptr, &frmMain::mnuHelpAbout_Click},
};

// The toolbar buttons, each with the menu command it runs.
struct ToolButton
{
    const char* key; // nullptr for the separator
    const char* tooltip;
    const char* image;
    void (frmMain::*command)();
};

const ToolButton ToolButtons[] = {
    {"Öffnen", "Öffnen", "Open", &frmMain::mnuFileOpen_Click},
    {"Speichern", "Speichern", "Save", &frmMain::mnuFileSave_Click},
    {nullptr, nullptr, nullptr, nullptr},
    {"Ausschneiden", "Ausschneiden", "Cut", &frmMain::mnuEditCut_Click},
    {"Kopieren", "Kopieren", "Copy", &frmMain::mnuEditCopy_Click},
    {"Einfügen", "Einfügen", "Paste", &frmMain::mnuEditPaste_Click},
};

// imlToolbarIcons: the toolbar's pictures by their image key.
QIcon ToolbarIcon(const QString& imageKey)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(imageKey.toLower()));
}

struct PlacementKey
{
    const char* key;
    double defaultTwips;
};

const PlacementKey PlacementKeys[] = {
    {"MainLeft", 1000}, {"MainTop", 1000}, {"MainWidth", 6500}, {"MainHeight", 6500}};

// A placement stored on another screen, or at another scale, would put the
// window's buttons or its status bar out of reach: the frame is shrunk to
// the available area of the screen it lies most on and moved into it.
QRect FitIntoScreen(const QRect& frame)
{
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return frame;
    const QRect available = screen->availableGeometry();
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() + 1 - fitted.height()));
    return fitted;
}

const QString AppName = QStringLiteral("Zidevavi");
const QString Section = QStringLiteral("Settings");

}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Zidevavi"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    // A document window that reaches beyond the workspace stays reachable.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    CreateMenus();
    CreateWindowList();
    CreateToolBar();
    sbStatusBar = new StatusBar(this);
    setStatusBar(sbStatusBar);
}

void frmMain::CreateMenus()
{
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& entry : MenuEntries) {
        const QString name = QString::fromLatin1(entry.name);
        QMenu* parent = entry.menu ? menus.value(QString::fromLatin1(entry.menu)) : nullptr;
        const QString caption = QString::fromUtf8(entry.caption);
        switch (entry.kind) {
        case MenuEntry::Separator:
            parent->addSeparator()->setObjectName(name);
            break;
        case MenuEntry::Menu: {
            QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menus.insert(name, menu);
            break;
        }
        case MenuEntry::Command: {
            QAction* action = parent->addAction(caption);
            action->setObjectName(name);
            if (entry.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
            const auto command = entry.command;
            connect(action, &QAction::triggered, this, [this, name, command] {
                RunCommand(objectName(), name + QStringLiteral("_Click"), [this, command] { (this->*command)(); });
            });
            break;
        }
        }
    }
}

void frmMain::CreateToolBar()
{
    // The title names the toolbar to screen readers and in the window's
    // context menu.
    tbToolBar = addToolBar(QStringLiteral("Symbolleiste"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setMovable(false);
    for (const ToolButton& button : ToolButtons) {
        if (!button.key) {
            tbToolBar->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(button.key);
        // Shown as its image alone; the text names the button to screen readers.
        QAction* action = tbToolBar->addAction(ToolbarIcon(QString::fromLatin1(button.image)), key);
        action->setObjectName(QStringLiteral("tb") + QString::fromLatin1(button.image));
        action->setData(key);
        action->setToolTip(QString::fromUtf8(button.tooltip));
        connect(action, &QAction::triggered, this, [this, key] {
            RunCommand(objectName(), QStringLiteral("tbToolBar_ButtonClick"), [this, key] { tbToolBar_ButtonClick(key); });
        });
    }
}

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    for (const ToolButton& button : ToolButtons) {
        if (button.key && key == QString::fromUtf8(button.key)) {
            (this->*button.command)();
            return;
        }
    }
}

frmDocument* frmMain::ActiveForm() const
{
    QMdiSubWindow* current = m_mdiArea->currentSubWindow();
    return current ? qobject_cast<frmDocument*>(current->widget()) : nullptr;
}

void frmMain::LoadNewDoc()
{
    m_lngDocCount += 1;
    auto* document = new frmDocument;
    document->SetCaption(QStringLiteral("Document ") + QString::number(m_lngDocCount));

    // A fixed dialog border: the window can be moved, minimized and closed, not resized.
    QMdiSubWindow* window = m_mdiArea->addSubWindow(
        document, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setWindowIcon(QIcon(QStringLiteral(":/icons/orgchart.svg")));
    // Cascade from the top left, one title bar further for each open window.
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int offset = step * int(m_mdiArea->subWindowList().size() - 1);
    window->move(offset, offset);
    window->show();
    window->setFixedSize(window->sizeHint());
    m_mdiArea->setActiveSubWindow(window);
}

void frmMain::Form_Load()
{
    for (int i = 0; i < 4; ++i) {
        const PlacementKey& entry = PlacementKeys[i];
        const QString stored = GetSetting(AppName, Section, QString::fromLatin1(entry.key), QString());
        bool isNumber = false;
        const float value = stored.trimmed().toFloat(&isNumber);
        m_loadedTwips[i] = isNumber ? value : entry.defaultTwips;
    }
    m_loadedFrame = FitIntoScreen(QRect(TwipsToPixelsX(m_loadedTwips[0]), TwipsToPixelsY(m_loadedTwips[1]),
                                        TwipsToPixelsX(m_loadedTwips[2]), TwipsToPixelsY(m_loadedTwips[3])));
    // The stored values describe the outer frame; the client area is what remains.
    move(m_loadedFrame.topLeft());
    resize(m_loadedFrame.size() - (frameGeometry().size() - size()));
}

// A window manager frames the window only some time after it is shown, and
// only then is the frame's size known: until the window has one, the inner
// size is set again so that the outer frame keeps the size that was loaded.
void frmMain::FitFrameToLoadedSize()
{
    if (m_frameFitted || !m_loadedFrame.isValid() || !isVisible())
        return;
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull())
        return;
    m_frameFitted = true;
    resize(m_loadedFrame.size() - frame);
}

bool frmMain::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Move || event->type() == QEvent::Resize)
        FitFrameToLoadedSize();
    return handled;
}

void frmMain::Form_Unload()
{
    if (isMinimized())
        return;
    const QRect frame = frameGeometry();
    const int pixels[4] = {frame.left(), frame.top(), frame.width(), frame.height()};
    const int loaded[4] = {m_loadedFrame.left(), m_loadedFrame.top(), m_loadedFrame.width(), m_loadedFrame.height()};
    for (int i = 0; i < 4; ++i) {
        // A value the window still shows as loaded is stored as it was read, so
        // that twips rounded to whole pixels do not creep from run to run.
        double twips = m_loadedTwips[i];
        if (pixels[i] != loaded[i])
            twips = i % 2 == 0 ? PixelsToTwipsX(pixels[i]) : PixelsToTwipsY(pixels[i]);
        SaveSetting(AppName, Section, QString::fromLatin1(PlacementKeys[i].key), QString::number(float(twips)));
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // No document keeps unsaved changes, so none is asked about.
    m_mdiArea->closeAllSubWindows();
    Form_Unload();
    event->accept();
}
