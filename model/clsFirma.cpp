#include "model/clsFirma.h"

#include "model/TreeDrawing.h"

clsFirma::~clsFirma()
{
    ReleaseSubRecords(m_dicAdressen);
}

void clsFirma::ShowTree(clsTreeView& trvBaum)
{
    DrawCompanyTree(trvBaum, *this);
}
