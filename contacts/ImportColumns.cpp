#include "contacts/ImportColumns.h"

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

}

std::shared_ptr<ColumnKeyTable> ImportedAddressKeys()
{
    auto table = std::make_shared<ColumnKeyTable>();
    table->Add(QStringLiteral("Node"));
    for (const ImportColumn& column : ImportColumns)
        table->Add(column.key);
    return table;
}

void AddImportedColumns(const ContactItem& item, clsDictionary<ColumnValue>& spalten)
{
    for (quint32 column = 0; column < std::size(ImportColumns); ++column)
        spalten.AddStored(column + 1, ReadColumn(item, ImportColumns[column]));
}
