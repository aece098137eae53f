// Suchen and Weitersuchen: finding an address in the active document.
#include "shell/frmMain.h"

#include "document/frmDocument.h"
#include "platform/MousePointer.h"
#include "platform/Prompt.h"
#include "tree/clsTreeView.h"

void frmMain::mnuEditFind_Click()
{
    if (!ActiveForm())
        return;
    const std::optional<QString> text =
        CurrentPrompt().InputBox(this, QStringLiteral("Suchen nach:"), QStringLiteral("Suchen"), m_strFind);
    if (!text || text->isEmpty())
        return;
    m_strFind = *text;
    FindAgain();
}

void frmMain::mnuEditFindNext_Click()
{
    if (m_strFind.isEmpty())
        mnuEditFind_Click();
    else
        FindAgain();
}

void frmMain::FindAgain()
{
    frmDocument* document = ActiveForm();
    if (!document)
        return;
    // A search through 100,000 addresses takes a noticeable moment.
    SetMousePointer(MousePointer::Hourglass);
    const bool found = document->FindNext(m_strFind);
    SetMousePointer(MousePointer::Default);
    if (found) {
        // Where the arrow keys and a screen reader go on from the hit.
        document->trvBaum->setFocus(Qt::OtherFocusReason);
        return;
    }
    CurrentPrompt().MsgBox(this, QStringLiteral("„%1“ wurde nicht gefunden.").arg(m_strFind), QStringLiteral("Zidevavi"),
                           Prompt::Icon::Information);
}
