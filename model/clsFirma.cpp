#include "model/clsFirma.h"

#include "model/DocumentMarkup.h"

clsFirma::~clsFirma()
{
    ReleaseSubRecords(m_dicAdressen);
}

bool clsFirma::LoadFromXML(const QString& strXML)
{
    ReadCompanyMarkup(*this, strXML);
    return true;
}

bool clsFirma::LoadFromXML(QByteArrayView bytes)
{
    ReadCompanyMarkup(*this, bytes);
    return true;
}

QString clsFirma::SaveToXML() const
{
    return CompanyMarkupText(*this);
}
