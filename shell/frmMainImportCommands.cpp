// The commands of the main window's Import menu.
#include "shell/frmMain.h"

#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/Prompt.h"

namespace {

frmDocument& ActiveDocument(const frmMain& main)
{
    frmDocument* document = main.ActiveForm();
    if (!document)
        throw Failure::MissingObject();
    return *document;
}

}

void frmMain::mnuOutlook_Click()
{
    LoadNewDoc();
    ActiveDocument(*this).LoadOutlook();
}

// Contacts exported from another program as one file come in the same way
// as the address book, into a new window.
void frmMain::ImportFileIntoNewDoc(const QString& title, const QString& filter,
                                   void (frmDocument::*load)(const QString& strFile))
{
    LoadNewDoc();
    frmDocument& document = ActiveDocument(*this);
    Prompt::FileRequest request;
    request.kind = Prompt::FileRequest::Kind::Open;
    request.title = title;
    request.filter = filter;
    const QString strFile = CurrentPrompt().AskFileName(this, request);
    if (strFile.isEmpty())
        return;
    (document.*load)(strFile);
}

void frmMain::mnuVCard_Click()
{
    ImportFileIntoNewDoc(QStringLiteral("vCard-Datei importieren"), QStringLiteral("vCard-Dateien (*.vcf)|*.vcf"),
                         &frmDocument::LoadVCardFile);
}

void frmMain::mnuOutlookCsv_Click()
{
    ImportFileIntoNewDoc(QStringLiteral("Outlook-CSV-Datei importieren"), QStringLiteral("CSV-Dateien (*.csv)|*.csv"),
                         &frmDocument::LoadOutlookCsvFile);
}

// Like a file import: the new window first, left empty when the user
// cancels.
void frmMain::mnuCardDav_Click()
{
    LoadNewDoc();
    ActiveDocument(*this).LoadCardDav();
}
