// The contact import of the document window.
#include "document/frmDocument.h"

#include "contacts/ImportColumns.h"
#include "platform/Failure.h"
#include "platform/MousePointer.h"
#include "platform/Prompt.h"
#include "platform/ShowError.h"
#include "tree/clsTreeView.h"

namespace {

template <typename T>
T& Required(const std::shared_ptr<T>& object)
{
    if (!object)
        throw Failure::MissingObject();
    return *object;
}

}

bool frmDocument::InitializeOutlook(ContactApplicationRef& golApp, ContactNamespaceRef& gnspNameSpace,
                                    const QString& strSource, ContactFileFormat format)
{
    try {
        golApp = CreateContactApplication(strSource, format);
        gnspNameSpace = Required(golApp).GetNamespace(QStringLiteral("MAPI"));
        Required(gnspNameSpace);
        return true;
    } catch (...) {
        ShowError(objectName(), QStringLiteral("InitializeOutlook"));
        return false;
    }
}

void frmDocument::LoadOutlook()
{
    ImportContacts(QString());
}

void frmDocument::LoadVCardFile(const QString& strFile)
{
    ImportContacts(strFile);
}

void frmDocument::LoadOutlookCsvFile(const QString& strFile)
{
    ImportContacts(strFile, ContactFileFormat::OutlookCsv);
}

// A failure past the start ends the import with one message; the company
// built so far stays in m_objFirma, undrawn, as the window's tree shows.
void frmDocument::ImportContacts(const QString& strSource, ContactFileFormat format)
{
    ContactApplicationRef olApp;
    ContactNamespaceRef nspNameSpace;
    if (!InitializeOutlook(olApp, nspNameSpace, strSource, format))
        return;
    ImportFrom(nspNameSpace, QStringLiteral("LoadOutlook"));
}

// The import from a started contact source; procedureName names the
// operation in the failure's title.
void frmDocument::ImportFrom(const ContactNamespaceRef& nspNameSpace, const QString& procedureName)
{
    try {
        SetMousePointer(MousePointer::Hourglass);
        const std::shared_ptr<ContactFolder> folder = Required(nspNameSpace).GetDefaultFolder(ContactNamespace::FolderContacts);
        const std::shared_ptr<ContactItems> items = Required(folder).Items();
        Required(items).Sort(QStringLiteral("[FullName]"), false);

        m_objFirma = std::make_shared<clsFirma>();
        ForgetShownAddress();
        m_objFirma->m_dicSpalten.Add(QStringLiteral("Name"), QStringLiteral("Outlook Adressen"));
        m_objFirma->m_dicSpalten.Add(QStringLiteral("Node"), NextID());

        const std::shared_ptr<ColumnKeyTable> keys = ImportedAddressKeys();
        m_objFirma->m_dicAdressen.Reserve(items->Count());
        for (std::shared_ptr<ContactItem> item = items->GetFirst(); item; item = items->GetNext()) {
            if (item->TypeName() == QLatin1String("DistListItem"))
                continue;
            auto adresse = std::make_shared<clsAdresse>();
            clsDictionary<ColumnValue>& spalten = adresse->m_dicSpalten;
            spalten.StoredKeys().table = keys;
            spalten.Reserve(keys->Count());
            const qint32 node = NextID();
            spalten.AddStored(0, ColumnValue(node));
            AddImportedColumns(*item, spalten);
            m_objFirma->m_dicAdressen.AddStored(node, std::move(adresse));
        }

        m_objFirma->ShowTree(*trvBaum);
        MakeRootCurrent();
        SetMousePointer(MousePointer::Default);
        // Books that could not be read are named once everything else is in.
        if (const QString report = items->SkippedBooksReport(); !report.isEmpty())
            CurrentPrompt().MsgBox(this, report, QStringLiteral("Zidevavi"), Prompt::Icon::Exclamation);
    } catch (...) {
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), procedureName);
    }
}
