// The commands of the main window's Import menu.
#include "shell/frmMain.h"

#include "document/frmDocument.h"
#include "model/Failure.h"
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

// Contacts exported from another program as one .vcf file come in the same
// way as the address book, into a new window.
void frmMain::mnuVCard_Click()
{
    Prompt::FileRequest request;
    request.kind = Prompt::FileRequest::Kind::Open;
    request.title = QStringLiteral("vCard-Datei importieren");
    request.filter = QStringLiteral("vCard-Dateien (*.vcf)|*.vcf");
    const QString strFile = CurrentPrompt().AskFileName(this, request);
    if (strFile.isEmpty())
        return;
    LoadNewDoc();
    ActiveDocument(*this).LoadVCardFile(strFile);
}
