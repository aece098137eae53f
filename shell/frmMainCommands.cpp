// The commands of the main window's menus and toolbar.
#include "shell/frmMain.h"

#include "document/frmDocument.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// The text field that holds the focus in the document window; the tree and
// anything else without selectable text gives nullptr.
QLineEdit* FocusedField(frmDocument* document)
{
    if (!document)
        return nullptr;
    QWidget* focused = document->focusWidget();
    return focused ? qobject_cast<QLineEdit*>(focused) : nullptr;
}

}

void frmMain::mnuFileNew_Click()
{
    LoadNewDoc();
}

void frmMain::mnuFileClose_Click()
{
    if (QMdiSubWindow* current = m_mdiArea->currentSubWindow())
        current->close();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuEditCopy_Click()
{
    if (QLineEdit* field = FocusedField(ActiveForm()))
        QApplication::clipboard()->setText(field->selectedText());
}

void frmMain::mnuEditCut_Click()
{
    if (QLineEdit* field = FocusedField(ActiveForm())) {
        QApplication::clipboard()->setText(field->selectedText());
        field->insert(QString());
    }
}

void frmMain::mnuEditPaste_Click()
{
    if (QLineEdit* field = FocusedField(ActiveForm()))
        field->insert(QApplication::clipboard()->text());
}
