#include "model/clsFirma.h"

#include "model/DocumentMarkup.h"
#include "model/Failure.h"
#include "model/MarkupText.h"
#include "model/NextID.h"
#include "tree/TreeDrawing.h"

clsFirma::~clsFirma()
{
    ReleaseSubRecords(m_dicAdressen);
}

void clsFirma::ShowTree(clsTreeView& trvBaum)
{
    DrawCompanyTree(trvBaum, *this);
}

bool clsFirma::LoadFromXML(const QString& strXML)
{
    const QString startTag = QStringLiteral("<Firma>");
    const qint32 found = FindText(strXML, startTag, 1);
    if (found == 0)
        throw Failure(QStringLiteral("Die Datei enthält kein Element <Firma>."));
    qint32 intPos = found + qint32(startTag.size());
    m_dicSpalten.Assign(QStringLiteral("Node"), ColumnValue(NextID()));
    ReadRecordMarkup(strXML, intPos, {m_dicSpalten, m_dicAdressen}, u"/Firma");
    return true;
}

QString clsFirma::SaveToXML() const
{
    QString strXML;
    TextOutput out(strXML);
    WriteCompanyMarkup(out, *this);
    return strXML;
}
