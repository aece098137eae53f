// Finding an address in the document window.
#include "document/frmDocument.h"

#include "model/RecordSearch.h"
#include "tree/clsTreeView.h"

bool frmDocument::FindNext(const QString& strText)
{
    if (!m_objFirma || strText.isEmpty())
        return false;
    const std::vector<const clsAdresse*> addresses = AddressesInTreeOrder(*m_objFirma);
    const int count = int(addresses.size());
    // The tree draws the company as node 0 and the addresses in this order
    // after it, so address i is node i + 1; a tree that shows another
    // document (an import that failed before drawing) is not searched.
    if (count == 0 || trvBaum->Nodes().Count() != count + 1)
        return false;

    // From the node after the selected one; the selected address comes last.
    const int selected = trvBaum->SelectedItem();
    const int start = selected == TreeNodeModel::NoNode ? 0 : selected % count;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        if (AddressContains(*addresses[size_t(i)], strText)) {
            trvBaum->SelectItem(i + 1);
            trvBaum_Click();
            return true;
        }
    }
    return false;
}
