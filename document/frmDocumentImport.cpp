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

struct ImportColumn
{
    QStringView key;
    ColumnRule rule;
    QStringView property;
};

// The address columns after "Node", in the order they are written to the
// document file. Outlook's Title is the salutation ("Anrede"), its Suffix
// the academic title ("Titel").
constexpr ImportColumn ImportColumns[] = {
    {u"Name", ColumnRule::NameOrFullName, u"LastFirstSpaceOnly"},
    {u"Anrede", ColumnRule::Property, u"Title"},
    {u"Typ", ColumnRule::GenderLetter, u"Gender"},
    {u"Vorname", ColumnRule::Property, u"FirstName"},
    {u"Name2", ColumnRule::Property, u"LastName"},
    {u"Name3", ColumnRule::Empty, {}},
    {u"Titel", ColumnRule::Property, u"Suffix"},
    {u"Strasse", ColumnRule::Property, u"BusinessAddressStreet"},
    {u"Ort", ColumnRule::Property, u"BusinessAddressCity"},
    {u"PLZ", ColumnRule::Property, u"BusinessAddressPostalCode"},
    {u"Land", ColumnRule::Property, u"BusinessAddressCountry"},
    {u"Telefon", ColumnRule::Property, u"BusinessTelephoneNumber"},
    {u"Telefon2", ColumnRule::Property, u"Business2TelephoneNumber"},
    {u"Mobiltelefon", ColumnRule::Property, u"MobileTelephoneNumber"},
    {u"Fax", ColumnRule::Property, u"BusinessFaxNumber"},
    {u"EMail", ColumnRule::Property, u"Email1Address"},
    {u"Internet", ColumnRule::Property, u"BusinessHomePage"},
    {u"Abteilung", ColumnRule::Property, u"Department"},
    {u"Funktion", ColumnRule::Property, u"JobTitle"},
};

// The table's texts are handed on as they are; an import reads them for
// every contact.
QString Literal(QStringView text)
{
    return QString::fromRawData(text.data(), text.size());
}

QString ReadColumn(const ContactItem& item, const ImportColumn& column)
{
    const QString property = Literal(column.property);
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
                adresse->m_dicSpalten.Add(Literal(column.key), ReadColumn(*item, column));
            const QString key = adresse->m_dicSpalten.Find(QStringLiteral("Node"))->Text();
            m_objFirma->m_dicAdressen.Add(key, std::move(adresse));
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
