// The commands of the main window's menus and toolbar.
#include "shell/frmMain.h"

#include "document/frmDocument.h"
#include "info/frmAbout.h"
#include "platform/Prompt.h"
#include "shell/CommandGuard.h"
#include "tree/clsTreeView.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

const QString DocumentFilter = QStringLiteral("XML Dateien (*xml)|*.xml");

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

QString frmMain::AskDocumentFile(bool save, const QString& title)
{
    Prompt::FileRequest request;
    request.kind = save ? Prompt::FileRequest::Kind::Save : Prompt::FileRequest::Kind::Open;
    request.title = title;
    request.filter = DocumentFilter;
    request.directory = m_lastFolder;
    if (save)
        request.defaultSuffix = QStringLiteral("xml");
    const QString file = CurrentPrompt().AskFileName(this, request);
    if (!file.isEmpty())
        m_lastFolder = QFileInfo(file).absolutePath();
    return file;
}

void frmMain::mnuFileOpen_Click()
{
    if (!ActiveForm())
        LoadNewDoc();
    const QString file = AskDocumentFile(false, QStringLiteral("Öffnen"));
    if (file.isEmpty())
        return;
    ActiveForm()->LoadDoc(file);
}

void frmMain::OpenDocuments(const QStringList& strFiles)
{
    for (const QString& file : strFiles) {
        RunCommand(objectName(), QStringLiteral("OpenDocuments"), [this, &file] {
            LoadNewDoc();
            m_lastFolder = QFileInfo(file).absolutePath();
            ActiveForm()->LoadDoc(file);
        });
    }
}

// Save always asks for the name: a document does not remember where it came from.
void frmMain::mnuFileSave_Click()
{
    frmDocument* document = ActiveForm();
    if (!document)
        return;
    if (document->trvBaum->Nodes().Count() == 0) {
        CurrentPrompt().MsgBox(this, QStringLiteral("Es gibt nichts zu speichern"), QStringLiteral("Zidevavi"),
                               Prompt::Icon::None);
        return;
    }
    const QString file = AskDocumentFile(true, QStringLiteral("Speichern"));
    if (file.isEmpty())
        return;
    document->SaveDoc(file);
    // Also after a reported failure: SaveDoc returns the same way either way.
    document->SetCaption(file);
}

void frmMain::mnuFileSaveAs_Click()
{
    mnuFileSave_Click();
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

// The detail fields are read-only: Cut and Paste change neither them nor
// the clipboard there.
void frmMain::mnuEditCut_Click()
{
    if (QLineEdit* field = FocusedField(ActiveForm()); field && !field->isReadOnly()) {
        QApplication::clipboard()->setText(field->selectedText());
        field->insert(QString());
    }
}

void frmMain::mnuEditPaste_Click()
{
    if (QLineEdit* field = FocusedField(ActiveForm()); field && !field->isReadOnly())
        field->insert(QApplication::clipboard()->text());
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
