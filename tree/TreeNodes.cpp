#include "tree/TreeNodes.h"

#include "model/DictionaryKeys.h"
#include "platform/Failure.h"

#include <algorithm>

namespace {

const QString KeyPrefix = QStringLiteral("Node ");

// The record number of a node whose key is a plain number.
std::optional<qint32> NumberOf(const ColumnValue& number)
{
    if (number.IsNumber())
        return number.Number();
    return CanonicalNumber(number.Text());
}

}

QString TreeNodes::KeyOf(const ColumnValue& number)
{
    return KeyPrefix + number.Text();
}

bool TreeNodes::IsRootKey(const QString& key)
{
    return key == QLatin1String("Node 1");
}

QString TreeNodes::RecordKeyOf(const QString& key)
{
    return key.mid(KeyPrefix.size());
}

int TreeNodes::Add(int parent, const ColumnValue& number, const ColumnValue& text, int image)
{
    if (parent < NoNode || parent >= Count())
        throw Failure::InvalidArgument();
    const std::optional<qint32> plain = NumberOf(number);
    if (m_ascending && !(plain && (m_nodes.empty() || *plain > m_lastNumber))) {
        m_ascending = false;
        for (int node = 0; node < Count(); ++node)
            m_byKey.insert(Key(node), node);
    }
    if (m_ascending) {
        m_lastNumber = *plain;
    } else {
        const QString key = KeyOf(number);
        if (m_byKey.contains(key))
            throw Failure(QStringLiteral("Der Schlüssel \"%1\" ist in der Auflistung nicht eindeutig.").arg(key));
        m_byKey.insert(key, Count());
    }

    const int row = ChildCount(parent);
    const int depth = parent == NoNode ? 1 : Depth(parent) + 1;
    m_nodes.push_back(Node{number, text, parent, row, depth, 0, qint8(image)});
    ++(parent == NoNode ? m_topLevelCount : m_nodes[size_t(parent)].childCount);
    m_firstChild.clear();
    return Count() - 1;
}

int TreeNodes::FindKey(const QString& key) const
{
    if (!m_ascending)
        return m_byKey.value(key, NoNode);
    if (!key.startsWith(KeyPrefix))
        return NoNode;
    const std::optional<qint32> number = CanonicalNumber(QStringView(key).mid(KeyPrefix.size()));
    if (!number)
        return NoNode;
    const auto found = std::lower_bound(m_nodes.begin(), m_nodes.end(), *number,
                                        [](const Node& node, qint32 n) { return *NumberOf(node.number) < n; });
    return found != m_nodes.end() && *NumberOf(found->number) == *number ? int(found - m_nodes.begin()) : NoNode;
}

int TreeNodes::Child(int node, int row) const
{
    if (m_firstChild.empty())
        ListChildren();
    return m_childList[size_t(m_firstChild[size_t(node == NoNode ? Count() : node)] + row)];
}

void TreeNodes::ListChildren() const
{
    // Children follow their parent in the order they were added, so one
    // pass puts each at its row.
    m_firstChild.assign(m_nodes.size() + 1, 0);
    int next = 0;
    for (size_t node = 0; node < m_nodes.size(); ++node) {
        m_firstChild[node] = next;
        next += m_nodes[node].childCount;
    }
    m_firstChild[m_nodes.size()] = next;
    m_childList.assign(size_t(next + m_topLevelCount), 0);
    for (size_t node = 0; node < m_nodes.size(); ++node) {
        const Node& n = m_nodes[node];
        const int parent = n.parent == NoNode ? Count() : n.parent;
        m_childList[size_t(m_firstChild[size_t(parent)] + n.row)] = int(node);
    }
}
