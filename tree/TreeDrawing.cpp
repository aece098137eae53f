#include "tree/TreeDrawing.h"

#include "model/clsFirma.h"
#include "tree/clsTreeView.h"

#include <vector>

namespace {

QString NodeKey(const ColumnValue& number)
{
    return QStringLiteral("Node ") + number.Text();
}

}

void DrawCompanyTree(clsTreeView& trvBaum, clsFirma& firma)
{
    TreeNodeModel& nodes = trvBaum.Nodes();
    nodes.Clear();
    const QString key = NodeKey(firma.m_dicSpalten.Item(QStringLiteral("Node")));
    const QString name = firma.m_dicSpalten.Item(QStringLiteral("Name")).Text();
    const int root = nodes.Add(QString(), key, name, TreeImage::OrgChart);
    nodes.SetExpandedImage(root, TreeImage::OrgChart);
    for (const auto& [number, adresse] : firma.m_dicAdressen)
        adresse->ShowTree(trvBaum, root);
}

void DrawAddressTree(clsTreeView& trvBaum, clsAdresse& adresse, int nodParentNode)
{
    TreeNodeModel& nodes = trvBaum.Nodes();
    struct Pending
    {
        clsAdresse* record;
        int parentNode;
    };
    std::vector<Pending> pending{{&adresse, nodParentNode}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        clsAdresse& record = *next.record;

        const QString parentKey = nodes.Key(next.parentNode);
        const QString key = NodeKey(record.m_dicSpalten.Item(QStringLiteral("Node")));
        const QString name = record.m_dicSpalten.Item(QStringLiteral("Name")).Text();
        const int image = record.m_dicAdressen.Count() > 0 ? TreeImage::ClosedBook : TreeImage::Page;
        const int node = nodes.Add(parentKey, key, name, image);
        nodes.SetExpandedImage(node, TreeImage::OpenBook);

        // Pushed last to first, so the first sub-record is drawn next.
        const auto& subRecords = record.m_dicAdressen;
        for (auto it = subRecords.end(); it != subRecords.begin();) {
            --it;
            pending.push_back({it->second.get(), node});
        }
    }
}
