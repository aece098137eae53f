#pragma once

#include "model/clsDictionary.h"
#include "model/ColumnValue.h"
#include "model/NextID.h"

#include <memory>

class clsTreeView;

// One address (a contact). Its columns, and the addresses nested below it
// keyed by the decimal text of their record numbers.
class clsAdresse
{
public:
    clsAdresse() = default;
    // Keeps its columns' values in columnMemory, which must outlive it.
    explicit clsAdresse(std::pmr::memory_resource* columnMemory) : m_dicSpalten(columnMemory) {}
    clsAdresse(const clsAdresse&) = delete;
    clsAdresse& operator=(const clsAdresse&) = delete;
    ~clsAdresse();

    clsDictionary<ColumnValue> m_dicSpalten;
    clsDictionary<std::shared_ptr<clsAdresse>> m_dicAdressen;

    // Adds this record's node as the last child of nodParentNode, then the
    // nodes of its sub-records, depth first. The tree draws it (tree/).
    void ShowTree(clsTreeView& trvBaum, int nodParentNode);

    // Reads this address from the prepared document text, starting just
    // after its "<Adresse>" at intPos and leaving intPos just after its
    // "</Adresse>"; its number and those of its sub-records come from
    // NextID. Throws a Failure for text that is no address.
    bool LoadFromXML(const QString& strXML, qint32& intPos, const NextIDFunction& NextID);
    // Appends this address block, its sub-records nested inside it, to
    // strXML and returns the result.
    QString SaveToXML(QString& strXML) const;
};

using AdresseRef = std::shared_ptr<clsAdresse>;

// Takes apart a tree of sub-records without recursion, so that addresses
// nested arbitrarily deep never exhaust the stack when they are dropped.
void ReleaseSubRecords(clsDictionary<AdresseRef>& dicAdressen);
