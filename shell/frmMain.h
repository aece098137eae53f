#pragma once

#include <QMainWindow>

class QActionGroup;
class QMdiArea;
class QToolBar;
class StatusBar;
class frmDocument;

// The frame window: menus, toolbar, status bar and any number of document
// windows. It keeps its placement in the settings store between runs.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain();

    // Restores the placement; run once by Main before the window is shown.
    void Form_Load();

    // The active document window, or nullptr.
    frmDocument* ActiveForm() const;
    QMdiArea* MdiArea() const { return m_mdiArea; }

    // Opens each file as Open does, each in a new document window, in order.
    void OpenDocuments(const QStringList& strFiles);

    // Commands, run from the menu, the toolbar and their shortcuts.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuOutlook_Click();
    void mnuVCard_Click();
    void mnuOutlookCsv_Click();
    void mnuCardDav_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditFind_Click();
    void mnuEditFindNext_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTile_Click();
    void mnuWindowArrange_Click();
    void mnuHelpAbout_Click();
    void tbToolBar_ButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    // The Fenster menu's list of document windows, made anew each time the
    // menu opens.
    void CreateWindowList();
    void UpdateWindowList();
    // Looks for m_strFind from the node after the selected one.
    void FindAgain();
    void LoadNewDoc();
    // A new document window, then the file to import into it; a cancel
    // leaves the window empty.
    void ImportFileIntoNewDoc(const QString& title, const QString& filter,
                              void (frmDocument::*load)(const QString& strFile));
    // dlgCommonDialog: asks for a document file; empty when cancelled.
    QString AskDocumentFile(bool save, const QString& title);
    void FitFrameToLoadedSize();
    void Form_Unload();

    QMdiArea* m_mdiArea = nullptr;
    QToolBar* tbToolBar = nullptr;
    StatusBar* sbStatusBar = nullptr;
    qint32 m_lngDocCount = 0;
    // Where the file dialogs start: the folder last used in this run.
    QString m_lastFolder;
    // The text last looked for with Suchen, proposed the next time.
    QString m_strFind;
    QActionGroup* m_windowList = nullptr;
    // The placement as Form_Load read it (left, top, width, height in twips)
    // and the outer frame in pixels it gave.
    double m_loadedTwips[4] = {};
    QRect m_loadedFrame;
    bool m_frameFitted = false;
};
