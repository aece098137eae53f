#pragma once

#include "contacts/ContactStore.h"
#include "model/clsFirma.h"

#include <QHash>
#include <QWidget>

class QLineEdit;
class clsTreeView;

// The window that holds one address document: the company/address tree on
// the left, the twenty detail fields of the last clicked address on the
// right. The fields are for reading: their text can be selected and copied,
// not changed.
class frmDocument : public QWidget
{
    Q_OBJECT

public:
    explicit frmDocument(QWidget* parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

    // The next record number: advances the counter m_lngID of the active
    // document window of this window's workspace, which is this one while
    // it is filled. Throws Failure::MissingObject without an active document
    // window and Failure::Overflow past the largest 32-bit value.
    qint32 NextID();

    // Empties the detail fields, then writes the columns of m_objAktAdresse
    // into them.
    void ShowAdresse();

    // Selects the next address after the selected node, in tree order and
    // wrapping around once, that holds strText in any column (case ignored),
    // and shows it as a click would. False when none does.
    bool FindNext(const QString& strText);

    // Document files.
    void LoadDoc(const QString& strFile);
    void SaveDoc(const QString& strFile);

    // Contact import: the address book's contacts folder, or one vCard file
    // or Outlook CSV export in its place, as the company "Outlook Adressen"
    // with one address per contact. InitializeOutlook starts the contact
    // source (an empty strSource is the address book) and reports its own
    // failure.
    bool InitializeOutlook(ContactApplicationRef& golApp, ContactNamespaceRef& gnspNameSpace,
                           const QString& strSource = QString(),
                           ContactFileFormat format = ContactFileFormat::VCard);
    void LoadOutlook();
    void LoadVCardFile(const QString& strFile);
    void LoadOutlookCsvFile(const QString& strFile);
    // The cards of address books on a CardDAV server, after asking for
    // the server and the sign-in.
    void LoadCardDav();

    clsTreeView* trvBaum = nullptr;

    FirmaRef m_objFirma;
    AdresseRef m_objAktAdresse;
    qint32 m_lngID = 0;

private:
    void CreateControls();
    QLineEdit* FieldForColumn(const QString& key) const;
    void ClearFields();
    // A document replaced: no field and no current address may name a
    // person from the one before.
    void ForgetShownAddress();
    // The root current, so that the keyboard works in the tree at once.
    void MakeRootCurrent();
    void trvBaum_Click();
    void ImportContacts(const QString& strSource, ContactFileFormat format = ContactFileFormat::VCard);
    void ImportFrom(const ContactNamespaceRef& nspNameSpace, const QString& procedureName);

    // Detail fields by their control name in lower case ("txtemail").
    QHash<QString, QLineEdit*> m_fieldsByName;
};
