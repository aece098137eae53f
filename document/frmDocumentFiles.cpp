// Opening and saving document files.
#include "document/frmDocument.h"

#include "model/DocumentFile.h"
#include "model/Failure.h"
#include "tree/clsTreeView.h"
#include "platform/MousePointer.h"
#include "shell/ShowError.h"

void frmDocument::LoadDoc(const QString& strFile)
{
    // The document is read into new records and only replaces the window's
    // once the whole file was read and drawn: a failed open keeps an
    // unsaved import.
    const qint32 previousID = m_lngID;
    bool drawingStarted = false;
    try {
        SetMousePointer(MousePointer::Hourglass);
        m_lngID = 0;
        auto firma = std::make_shared<clsFirma>();
        // The file's bytes are let go before the records are built.
        const QString text = DocumentFileText(ReadDocumentFile(strFile));
        firma->LoadFromXML(text);
        drawingStarted = true;
        firma->ShowTree(*trvBaum);
        m_objFirma = std::move(firma);
        SetCaption(strFile);
        SetMousePointer(MousePointer::Default);
    } catch (...) {
        m_lngID = previousID;
        if (drawingStarted)
            RedrawTree();
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), QStringLiteral("LoadDoc"));
    }
}

void frmDocument::SaveDoc(const QString& strFile)
{
    try {
        SetMousePointer(MousePointer::Hourglass);
        if (!m_objFirma)
            throw Failure::MissingObject();
        SaveDocumentFile(strFile, *m_objFirma);
        SetCaption(strFile);
        SetMousePointer(MousePointer::Default);
    } catch (...) {
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), QStringLiteral("SaveDoc"));
    }
}

// Draws the window's own document again after a failed open had begun to
// draw another one; it was drawn before, so this does not fail.
void frmDocument::RedrawTree()
{
    try {
        if (m_objFirma)
            m_objFirma->ShowTree(*trvBaum);
        else
            trvBaum->Nodes().Clear();
    } catch (...) {
    }
}
