// Opening and saving document files.
#include "document/frmDocument.h"

#include "model/DocumentFile.h"
#include "platform/Failure.h"
#include "platform/Memory.h"
#include "platform/MousePointer.h"
#include "platform/ShowError.h"
#include "tree/clsTreeView.h"
#include "tree/TreeDrawing.h"

void frmDocument::LoadDoc(const QString& strFile)
{
    // The document is read into new records and drawn into new nodes, which
    // replace the window's only once both succeeded: a failed open keeps an
    // unsaved import, and the tree as it was, with its expanded nodes and
    // its selection.
    const qint32 previousID = m_lngID;
    try {
        SetMousePointer(MousePointer::Hourglass);
        m_lngID = 0;
        auto firma = std::make_shared<clsFirma>();
        int records = 0;
        LoadDocumentFile(strFile, *firma, [this, &records] {
            ++records;
            return NextID();
        });
        TreeNodes nodes;
        DrawCompanyTree(nodes, *firma, records);
        trvBaum->Nodes().Show(std::move(nodes));
        m_objFirma = std::move(firma);
        ForgetShownAddress();
        MakeRootCurrent();
        SetCaption(strFile);
        SetMousePointer(MousePointer::Default);
    } catch (...) {
        m_lngID = previousID;
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), QStringLiteral("LoadDoc"));
    }
    // Whichever document was let go, the one replaced or the one that failed.
    ReturnFreedMemory();
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
