// How the records draw themselves into the document tree.
#include "tree/TreeDrawing.h"

#include "model/clsFirma.h"
#include "tree/clsTreeView.h"

#include <algorithm>
#include <vector>

namespace {

const QString NodeKey = QStringLiteral("Node");
const QString NameKey = QStringLiteral("Name");

// Reads a column of one record after another, as Item() does, finding the
// key once for all records that share their key table.
class ColumnReader
{
public:
    explicit ColumnReader(const QString& key) : m_key(key) {}

    const ColumnValue& Item(clsDictionary<ColumnValue>& spalten)
    {
        const ColumnKeyTable* table = spalten.StoredKeys().table.get();
        if (table != m_table || !m_stored) {
            m_table = table;
            m_stored = table ? table->Find(m_key) : std::nullopt;
        }
        const qsizetype i = m_stored ? spalten.IndexOfStored(*m_stored) : -1;
        return i >= 0 ? spalten.ValueAt(i) : spalten.Item(m_key);
    }

private:
    const QString m_key;
    const ColumnKeyTable* m_table = nullptr;
    std::optional<quint32> m_stored;
};

struct Pending
{
    clsAdresse* record;
    int parentNode;
};

// Draws the records pending, last first, and every record below them.
void DrawAddresses(TreeNodes& nodes, std::vector<Pending>& pending, ColumnReader& numbers, ColumnReader& names)
{
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        clsAdresse& record = *next.record;

        const ColumnValue number = numbers.Item(record.m_dicSpalten);
        const int image = record.m_dicAdressen.Count() > 0 ? TreeImage::ClosedBook : TreeImage::Page;
        const int node = nodes.Add(next.parentNode, number, names.Item(record.m_dicSpalten), image);
        nodes.SetExpandedImage(node, TreeImage::OpenBook);

        // Pushed last to first, so the first sub-record is drawn next.
        for (qsizetype i = record.m_dicAdressen.Count(); i-- > 0;)
            pending.push_back({record.m_dicAdressen.ValueAt(i).get(), node});
    }
}

}

void DrawCompanyTree(TreeNodes& nodes, clsFirma& firma, int records)
{
    nodes = TreeNodes();
    // At least the company and its addresses.
    nodes.Reserve(std::max(int(firma.m_dicAdressen.Count()) + 1, records));
    ColumnReader numbers(NodeKey), names(NameKey);
    const ColumnValue number = numbers.Item(firma.m_dicSpalten);
    const int root = nodes.Add(TreeNodes::NoNode, number, names.Item(firma.m_dicSpalten), TreeImage::OrgChart);
    nodes.SetExpandedImage(root, TreeImage::OrgChart);
    std::vector<Pending> pending;
    pending.reserve(size_t(firma.m_dicAdressen.Count()));
    for (qsizetype i = firma.m_dicAdressen.Count(); i-- > 0;)
        pending.push_back({firma.m_dicAdressen.ValueAt(i).get(), root});
    DrawAddresses(nodes, pending, numbers, names);
}

void DrawAddressTree(TreeNodes& nodes, clsAdresse& adresse, int nodParentNode)
{
    ColumnReader numbers(NodeKey), names(NameKey);
    std::vector<Pending> pending{{&adresse, nodParentNode}};
    DrawAddresses(nodes, pending, numbers, names);
}

void clsFirma::ShowTree(clsTreeView& trvBaum)
{
    TreeNodes nodes;
    try {
        DrawCompanyTree(nodes, *this);
    } catch (...) {
        trvBaum.Nodes().Show(std::move(nodes));
        throw;
    }
    trvBaum.Nodes().Show(std::move(nodes));
}

void clsAdresse::ShowTree(clsTreeView& trvBaum, int nodParentNode)
{
    trvBaum.Nodes().Change([&](TreeNodes& nodes) { DrawAddressTree(nodes, *this, nodParentNode); });
}
