#include "model/RecordSearch.h"

#include "model/clsFirma.h"

std::vector<const clsAdresse*> AddressesInTreeOrder(const clsFirma& firma)
{
    std::vector<const clsAdresse*> order;
    order.reserve(size_t(firma.m_dicAdressen.Count()));
    std::vector<const clsAdresse*> pending;
    for (qsizetype i = firma.m_dicAdressen.Count(); i-- > 0;)
        pending.push_back(firma.m_dicAdressen.ValueAt(i).get());
    while (!pending.empty()) {
        const clsAdresse* next = pending.back();
        pending.pop_back();
        if (!next)
            continue;
        order.push_back(next);
        // Pushed last to first, so the first sub-record comes next.
        for (qsizetype i = next->m_dicAdressen.Count(); i-- > 0;)
            pending.push_back(next->m_dicAdressen.ValueAt(i).get());
    }
    return order;
}

bool AddressContains(const clsAdresse& adresse, const QString& text)
{
    static const QString NodeKey = QStringLiteral("Node");
    for (const auto& [key, value] : adresse.m_dicSpalten) {
        if (!value.IsNumber() && key != NodeKey && value.Text().contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}
