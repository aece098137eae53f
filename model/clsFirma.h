#pragma once

#include "model/clsAdresse.h"

#include <QByteArrayView>

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

    // Clears the tree and draws the whole document into it. The tree draws
    // it (tree/).
    void ShowTree(clsTreeView& trvBaum);

    // Reads the company from the document text: everything before the first
    // "<Firma>" and after its "</Firma>" is ignored. Numbers the records with
    // NextID. Throws a Failure for text that is no document.
    bool LoadFromXML(const QString& strXML, const NextIDFunction& NextID);
    // The same from a document file's bytes, in its code page, which is how
    // a file is opened: no text of the whole file is made.
    bool LoadFromXML(QByteArrayView bytes, const NextIDFunction& NextID);
    // The company element, "<Firma> " to "</Firma> ", without the header
    // line and without the line break after the end tag.
    QString SaveToXML() const;
};

using FirmaRef = std::shared_ptr<clsFirma>;
