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

// Texts made once: the loop runs for every contact.
struct ImportColumn
{
    QString key;
    ColumnRule rule;
    QString property;
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

QString ReadColumn(const ContactItem& item, const ImportColumn& column)
{
    const QString& property = column.property;
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
            adresse->m_dicSpalten.Reserve(qsizetype(std::size(ImportColumns)) + 1);
            adresse->m_dicSpalten.Add(QStringLiteral("Node"), NextID());
            for (const ImportColumn& column : ImportColumns)
                adresse->m_dicSpalten.Add(column.key, ReadColumn(*item, column));
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
