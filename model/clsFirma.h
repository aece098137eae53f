#pragma once

#include "model/clsAdresse.h"

// The company: the root record of an address document. It has the same
// shape as an address; its sub-records are the top-level addresses.
class clsFirma
{
public:
    clsFirma() = default;
    clsFirma(const clsFirma&) = delete;
    clsFirma& operator=(const clsFirma&) = delete;
    ~clsFirma();

    clsDictionary<ColumnValue> m_dicSpalten;
    clsDictionary<AdresseRef> m_dicAdressen;

    // Clears the tree and draws the whole document into it.
    void ShowTree(clsTreeView& trvBaum);
};

using FirmaRef = std::shared_ptr<clsFirma>;
