#pragma once

#include "model/ColumnValue.h"
#include "model/clsDictionary.h"

#include <memory>

class clsTreeView;

// One address (a contact). Its columns, and the addresses nested below it
// keyed by the decimal text of their record numbers.
class clsAdresse
{
public:
    clsAdresse() = default;
    clsAdresse(const clsAdresse&) = delete;
    clsAdresse& operator=(const clsAdresse&) = delete;
    ~clsAdresse();

    clsDictionary<ColumnValue> m_dicSpalten;
    clsDictionary<std::shared_ptr<clsAdresse>> m_dicAdressen;

    // Adds this record's node as the last child of nodParentNode, then the
    // nodes of its sub-records, depth first.
    void ShowTree(clsTreeView& trvBaum, int nodParentNode);
};

using AdresseRef = std::shared_ptr<clsAdresse>;

// Takes apart a tree of sub-records without recursion, so that addresses
// nested arbitrarily deep never exhaust the stack when they are dropped.
void ReleaseSubRecords(clsDictionary<AdresseRef>& dicAdressen);
