#include "model/clsAdresse.h"

#include "model/DocumentMarkup.h"
#include "model/NextID.h"
#include "tree/TreeDrawing.h"

clsAdresse::~clsAdresse()
{
    ReleaseSubRecords(m_dicAdressen);
}

void clsAdresse::ShowTree(clsTreeView& trvBaum, int nodParentNode)
{
    DrawAddressTree(trvBaum, *this, nodParentNode);
}

void ReleaseSubRecords(clsDictionary<AdresseRef>& dicAdressen)
{
    std::vector<AdresseRef> pending;
    for (auto& entry : dicAdressen.TakeEntries())
        pending.push_back(std::move(entry.second));
    while (!pending.empty()) {
        AdresseRef record = std::move(pending.back());
        pending.pop_back();
        // Only a record nobody else holds dies here; empty its dictionary
        // first so that its destructor has nothing left to recurse into.
        if (record && record.use_count() == 1) {
            for (auto& entry : record->m_dicAdressen.TakeEntries())
                pending.push_back(std::move(entry.second));
        }
    }
}

bool clsAdresse::LoadFromXML(const QString& strXML, qint32& intPos)
{
    m_dicSpalten.Assign(QStringLiteral("Node"), ColumnValue(NextID()));
    ReadRecordMarkup(strXML, intPos, {m_dicSpalten, m_dicAdressen}, u"/Adresse");
    return true;
}

QString clsAdresse::SaveToXML(QString& strXML) const
{
    TextOutput out(strXML);
    WriteAddressMarkup(out, *this);
    return strXML;
}
