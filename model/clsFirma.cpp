#include "model/clsFirma.h"

#include "model/DocumentMarkup.h"

clsFirma::~clsFirma()
{
    ReleaseSubRecords(m_dicAdressen);
}

bool clsFirma::LoadFromXML(const QString& strXML, const NextIDFunction& NextID)
{
    ReadCompanyMarkup(*this, strXML, NextID);
    return true;
}

bool clsFirma::LoadFromXML(QByteArrayView bytes, const NextIDFunction& NextID)
{
    ReadCompanyMarkup(*this, bytes, NextID);
    return true;
}

QString clsFirma::SaveToXML() const
{
    return CompanyMarkupText(*this);
}
