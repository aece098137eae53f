// The contact import of the document window.
#include "document/frmDocument.h"

#include "model/Failure.h"
#include "model/NextID.h"
#include "model/clsTreeView.h"
#include "platform/MousePointer.h"
#include "shell/ShowError.h"

namespace {

enum class ColumnRule {
    Property,       // the text property unchanged
    NameOrFullName, // the property, or FullName when it is empty
    GenderLetter,   // the integer property: 2 "M", 1 "W", else empty
    Empty,          // nothing is read
};

struct ImportColumn
{
    const char* key;
    ColumnRule rule;
    const char* property;
};

// The address columns after "Node", in the order they are written to the
// document file. Outlook's Title is the salutation ("Anrede"), its Suffix
// the academic title ("Titel").
constexpr ImportColumn ImportColumns[] = {
    {"Name", ColumnRule::NameOrFullName, "LastFirstSpaceOnly"},
    {"Anrede", ColumnRule::Property, "Title"},
    {"Typ", ColumnRule::GenderLetter, "Gender"},
    {"Vorname", ColumnRule::Property, "FirstName"},
    {"Name2", ColumnRule::Property, "LastName"},
    {"Name3", ColumnRule::Empty, nullptr},
    {"Titel", ColumnRule::Property, "Suffix"},
    {"Strasse", ColumnRule::Property, "BusinessAddressStreet"},
    {"Ort", ColumnRule::Property, "BusinessAddressCity"},
    {"PLZ", ColumnRule::Property, "BusinessAddressPostalCode"},
    {"Land", ColumnRule::Property, "BusinessAddressCountry"},
    {"Telefon", ColumnRule::Property, "BusinessTelephoneNumber"},
    {"Telefon2", ColumnRule::Property, "Business2TelephoneNumber"},
    {"Mobiltelefon", ColumnRule::Property, "MobileTelephoneNumber"},
    {"Fax", ColumnRule::Property, "BusinessFaxNumber"},
    {"EMail", ColumnRule::Property, "Email1Address"},
    {"Internet", ColumnRule::Property, "BusinessHomePage"},
    {"Abteilung", ColumnRule::Property, "Department"},
    {"Funktion", ColumnRule::Property, "JobTitle"},
};

QString ReadColumn(const ContactItem& item, const ImportColumn& column)
{
    const QString property = QString::fromLatin1(column.property);
    switch (column.rule) {
    case ColumnRule::Property:
        return item.TextProperty(property);
    case ColumnRule::NameOrFullName: {
        const QString name = item.TextProperty(property);
        return name.isEmpty() ? item.TextProperty(QStringLiteral("FullName")) : name;
    }
    case ColumnRule::GenderLetter:
        switch (item.IntegerProperty(property)) {
        case 2:
            return QStringLiteral("M");
        case 1:
            return QStringLiteral("W");
        default:
            return QString();
        }
    case ColumnRule::Empty:
        break;
    }
    return QString();
}

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

    try {
        SetMousePointer(MousePointer::Hourglass);
        const std::shared_ptr<ContactFolder> folder = nspNameSpace->GetDefaultFolder(ContactNamespace::FolderContacts);
        const std::shared_ptr<ContactItems> items = Required(folder).Items();
        Required(items).Sort(QStringLiteral("[FullName]"), false);

        m_objFirma = std::make_shared<clsFirma>();
        m_objFirma->m_dicSpalten.Add(QStringLiteral("Name"), QStringLiteral("Outlook Adressen"));
        m_objFirma->m_dicSpalten.Add(QStringLiteral("Node"), NextID());

        for (std::shared_ptr<ContactItem> item = items->GetFirst(); item; item = items->GetNext()) {
            if (item->TypeName() == QLatin1String("DistListItem"))
                continue;
            auto adresse = std::make_shared<clsAdresse>();
            adresse->m_dicSpalten.Add(QStringLiteral("Node"), NextID());
            for (const ImportColumn& column : ImportColumns)
                adresse->m_dicSpalten.Add(QString::fromLatin1(column.key), ReadColumn(*item, column));
            const QString key = adresse->m_dicSpalten.Find(QStringLiteral("Node"))->Text();
            m_objFirma->m_dicAdressen.Add(key, std::move(adresse));
        }

        m_objFirma->ShowTree(*trvBaum);
        SetMousePointer(MousePointer::Default);
    } catch (...) {
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), QStringLiteral("LoadOutlook"));
    }
}
