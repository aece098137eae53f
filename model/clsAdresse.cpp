#include "model/clsAdresse.h"

#include "model/DocumentMarkup.h"

clsAdresse::~clsAdresse()
{
    ReleaseSubRecords(m_dicAdressen);
}

void ReleaseSubRecords(clsDictionary<AdresseRef>& dicAdressen)
{
    std::pmr::vector<AdresseRef> pending = dicAdressen.TakeValues();
    while (!pending.empty()) {
        AdresseRef record = std::move(pending.back());
        pending.pop_back();
        // Only a record nobody else holds dies here; empty its dictionary
        // first so that its destructor has nothing left to recurse into.
        if (record && record.use_count() == 1) {
            for (AdresseRef& child : record->m_dicAdressen.TakeValues())
                pending.push_back(std::move(child));
        }
    }
}

bool clsAdresse::LoadFromXML(const QString& strXML, qint32& intPos, const NextIDFunction& NextID)
{
    ReadAddressMarkup(*this, strXML, intPos, NextID);
    return true;
}

QString clsAdresse::SaveToXML(QString& strXML) const
{
    AppendAddressMarkupText(strXML, *this);
    return strXML;
}
