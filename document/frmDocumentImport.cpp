// The contact import of the document window.
#include "document/frmDocument.h"

#include "model/Failure.h"
#include "model/NextID.h"
#include "tree/clsTreeView.h"
#include "platform/MousePointer.h"
#include "platform/Prompt.h"
#include "shell/ShowError.h"

namespace {

enum class ColumnRule {
    Property,       // the text property unchanged
    NameOrFullName, // the property, or FullName when it is empty
    GenderLetter,   // the integer property: 2 "M", 1 "W", else empty
    Empty,          // nothing is read
};

// Texts made and property names found once: the loop reads them for every
// contact.
struct ImportColumn
{
    ImportColumn(const QString& columnKey, ColumnRule columnRule, const QString& propertyName)
        : key(columnKey), rule(columnRule), property(propertyName)
    {
    }

    QString key;
    ColumnRule rule;
    ContactProperty property;
};

// The address columns after "Node", in the order they are written to the
// document file. Outlook's Title is the salutation ("Anrede"), its Suffix
// the academic title ("Titel").
const ImportColumn ImportColumns[] = {
    {QStringLiteral("Name"), ColumnRule::NameOrFullName, QStringLiteral("LastFirstSpaceOnly")},
    {QStringLiteral("Anrede"), ColumnRule::Property, QStringLiteral("Title")},
    {QStringLiteral("Typ"), ColumnRule::GenderLetter, QStringLiteral("Gender")},
    {QStringLiteral("Vorname"), ColumnRule::Property, QStringLiteral("FirstName")},
    {QStringLiteral("Name2"), ColumnRule::Property, QStringLiteral("LastName")},
    {QStringLiteral("Name3"), ColumnRule::Empty, QString()},
    {QStringLiteral("Titel"), ColumnRule::Property, QStringLiteral("Suffix")},
    {QStringLiteral("Strasse"), ColumnRule::Property, QStringLiteral("BusinessAddressStreet")},
    {QStringLiteral("Ort"), ColumnRule::Property, QStringLiteral("BusinessAddressCity")},
    {QStringLiteral("PLZ"), ColumnRule::Property, QStringLiteral("BusinessAddressPostalCode")},
    {QStringLiteral("Land"), ColumnRule::Property, QStringLiteral("BusinessAddressCountry")},
    {QStringLiteral("Telefon"), ColumnRule::Property, QStringLiteral("BusinessTelephoneNumber")},
    {QStringLiteral("Telefon2"), ColumnRule::Property, QStringLiteral("Business2TelephoneNumber")},
    {QStringLiteral("Mobiltelefon"), ColumnRule::Property, QStringLiteral("MobileTelephoneNumber")},
    {QStringLiteral("Fax"), ColumnRule::Property, QStringLiteral("BusinessFaxNumber")},
    {QStringLiteral("EMail"), ColumnRule::Property, QStringLiteral("Email1Address")},
    {QStringLiteral("Internet"), ColumnRule::Property, QStringLiteral("BusinessHomePage")},
    {QStringLiteral("Abteilung"), ColumnRule::Property, QStringLiteral("Department")},
    {QStringLiteral("Funktion"), ColumnRule::Property, QStringLiteral("JobTitle")},
};

ColumnValue ReadColumn(const ContactItem& item, const ImportColumn& column)
{
    static const ColumnValue male(QStringLiteral("M"));
    static const ColumnValue female(QStringLiteral("W"));
    static const ContactProperty fullName(QStringLiteral("FullName"));
    const ContactProperty& property = column.property;
    switch (column.rule) {
    case ColumnRule::Property:
        return item.TextPropertyValue(property);
    case ColumnRule::NameOrFullName: {
        ColumnValue name = item.TextPropertyValue(property);
        return name.IsEmptyText() ? item.TextPropertyValue(fullName) : name;
    }
    case ColumnRule::GenderLetter:
        switch (item.IntegerProperty(property.name)) {
        case 2:
            return male;
        case 1:
            return female;
        default:
            return ColumnValue();
        }
    case ColumnRule::Empty:
        break;
    }
    return ColumnValue();
}

// The column keys of the imported addresses, "Node" first, in one table
// they share, so that each address names its columns by their places.
std::shared_ptr<ColumnKeyTable> AddressKeys()
{
    auto table = std::make_shared<ColumnKeyTable>();
    table->Add(QStringLiteral("Node"));
    for (const ImportColumn& column : ImportColumns)
        table->Add(column.key);
    return table;
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

        const std::shared_ptr<ColumnKeyTable> keys = AddressKeys();
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
            for (quint32 column = 0; column < std::size(ImportColumns); ++column)
                spalten.AddStored(column + 1, ReadColumn(*item, ImportColumns[column]));
            m_objFirma->m_dicAdressen.AddStored(node, std::move(adresse));
        }

        m_objFirma->ShowTree(*trvBaum);
        SetMousePointer(MousePointer::Default);
        // Books that could not be read are named once everything else is in.
        if (const QString report = items->SkippedBooksReport(); !report.isEmpty())
            CurrentPrompt().MsgBox(this, report, QStringLiteral("Zidevavi"), Prompt::Icon::Exclamation);
    } catch (...) {
        SetMousePointer(MousePointer::Default);
        ShowError(objectName(), QStringLiteral("LoadOutlook"));
    }
}
