#include "platform/csv/OutlookCsvContacts.h"

#include "model/Failure.h"
#include "platform/OutlookNames.h"

#include <QHash>

#include <array>
#include <initializer_list>

namespace {

// The export's columns the import reads.
enum Column {
    Title, FirstName, MiddleName, LastName, Suffix, Company, Department, JobTitle,
    Street, Street2, Street3, City, PostalCode, Country,
    Phone, Phone2, Mobile, Fax, Email, WebPage, Gender,
    ColumnCount
};

struct ColumnNames
{
    Column column;
    // Outlook's own address, phone and e-mail columns tell its export from
    // other programs' files, which share the name columns.
    bool outlooksOwn;
    // English (also the new Outlook's and Google's), German; the same in
    // German Outlook 2007/2010 and 2013 and later.
    std::initializer_list<const char*> names;
};

const ColumnNames ColumnTable[] = {
    {Title, false, {"Title", "Anrede"}},
    {FirstName, false, {"First Name", "Vorname"}},
    {MiddleName, false, {"Middle Name", "Weitere Vornamen"}},
    {LastName, false, {"Last Name", "Nachname"}},
    {Suffix, false, {"Suffix"}},
    {Company, false, {"Company", "Firma"}},
    {Department, false, {"Department", "Abteilung"}},
    {JobTitle, false, {"Job Title", "Position"}},
    {Street, true, {"Business Street", "Straße geschäftlich"}},
    {Street2, true, {"Business Street 2", "Straße geschäftlich 2"}},
    {Street3, true, {"Business Street 3", "Straße geschäftlich 3"}},
    {City, true, {"Business City", "Ort geschäftlich"}},
    {PostalCode, true, {"Business Postal Code", "Postleitzahl geschäftlich"}},
    {Country, true, {"Business Country/Region", "Business Country", "Land/Region geschäftlich"}},
    {Phone, true, {"Business Phone", "Telefon geschäftlich"}},
    {Phone2, true, {"Business Phone 2", "Telefon geschäftlich 2"}},
    {Mobile, true, {"Mobile Phone", "Mobiltelefon"}},
    {Fax, true, {"Business Fax", "Fax geschäftlich"}},
    {Email, true, {"E-mail Address", "E-Mail-Adresse"}},
    {WebPage, false, {"Web Page", "Webseite"}},
    {Gender, false, {"Gender", "Geschlecht"}},
};

// The columns that become a contact property unchanged.
struct PlainColumn
{
    Column column;
    ContactFields::Field field;
};

const PlainColumn PlainColumns[] = {
    {Title, ContactFields::Title},
    {FirstName, ContactFields::FirstName},
    {LastName, ContactFields::LastName},
    {Suffix, ContactFields::Suffix},
    {City, ContactFields::BusinessAddressCity},
    {PostalCode, ContactFields::BusinessAddressPostalCode},
    {Country, ContactFields::BusinessAddressCountry},
    {Phone, ContactFields::BusinessTelephoneNumber},
    {Phone2, ContactFields::Business2TelephoneNumber},
    {Mobile, ContactFields::MobileTelephoneNumber},
    {Fax, ContactFields::BusinessFaxNumber},
    {Email, ContactFields::Email1Address},
    {WebPage, ContactFields::BusinessHomePage},
    {Department, ContactFields::Department},
    {JobTitle, ContactFields::JobTitle},
};

QString HeaderKey(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

const QHash<QString, const ColumnNames*>& ColumnsByName()
{
    static const QHash<QString, const ColumnNames*> table = [] {
        QHash<QString, const ColumnNames*> byName;
        for (const ColumnNames& entry : ColumnTable) {
            for (const char* name : entry.names)
                byName.insert(HeaderKey(QString::fromUtf8(name)), &entry);
        }
        return byName;
    }();
    return table;
}

Failure NotAnOutlookExport(const QString& fileName)
{
    return Failure(QStringLiteral("Die Datei \u201E%1\u201C ist kein Kontaktexport von Outlook: Ihre erste Zeile "
                                  "nennt keine der Spalten, die Outlook schreibt, etwa \u201EE-Mail-Adresse\u201C, "
                                  "\u201ETelefon geschäftlich\u201C oder \u201EStraße geschäftlich\u201C (englisch "
                                  "\u201EE-mail Address\u201C, \u201EBusiness Phone\u201C, \u201EBusiness "
                                  "Street\u201C).")
                       .arg(fileName));
}

// Outlook keeps the three lines of a street in one property, one per line.
QString StreetLines(const QString& street, const QString& street2, const QString& street3)
{
    QString lines;
    for (const QString* line : {&street, &street2, &street3}) {
        if (line->isEmpty())
            continue;
        if (!lines.isEmpty())
            lines += QLatin1String("\r\n");
        lines += *line;
    }
    return lines;
}

// The words of Outlook's gender list, in either language.
qint32 GenderNumber(const QString& word)
{
    struct GenderWord
    {
        QString word;
        qint32 number;
    };
    static const GenderWord words[] = {{QStringLiteral("Male"), 2},
                                       {QStringLiteral("Männlich"), 2},
                                       {QStringLiteral("Female"), 1},
                                       {QStringLiteral("Weiblich"), 1}};
    const QStringView trimmed = QStringView(word).trimmed();
    for (const GenderWord& gender : words) {
        if (trimmed.compare(gender.word, Qt::CaseInsensitive) == 0)
            return gender.number;
    }
    return 0;
}

ContactFields ContactOf(const std::array<QString, ColumnCount>& value)
{
    ContactFields contact;
    for (const PlainColumn& plain : PlainColumns)
        contact.text[plain.field] = value[plain.column];
    contact.text[ContactFields::FullName] =
        OutlookFullName(value[Title], value[FirstName], value[MiddleName], value[LastName], value[Suffix]);
    contact.text[ContactFields::LastFirstSpaceOnly] =
        OutlookLastFirstSpaceOnly(value[FirstName], value[MiddleName], value[LastName], value[Suffix], value[Company]);
    contact.text[ContactFields::BusinessAddressStreet] = StreetLines(value[Street], value[Street2], value[Street3]);
    contact.gender = GenderNumber(value[Gender]);
    return contact;
}

}

OutlookCsvContacts::OutlookCsvContacts(QByteArray bytes, const QString& fileName)
    : m_bytes(std::move(bytes)), m_reader(m_bytes), m_fieldOfColumn(ColumnCount, -1)
{
    bool outlooksOwn = false;
    if (m_reader.Next()) {
        const auto& columnsByName = ColumnsByName();
        for (qsizetype field = 0; field < m_reader.FieldCount(); ++field) {
            if (m_reader.FieldBytes(field).isEmpty())
                continue;
            const ColumnNames* column = columnsByName.value(HeaderKey(m_reader.Field(field)));
            if (!column || m_fieldOfColumn[column->column] >= 0)
                continue;
            m_fieldOfColumn[column->column] = field;
            outlooksOwn |= column->outlooksOwn;
        }
    }
    if (!outlooksOwn)
        throw NotAnOutlookExport(fileName);
}

std::vector<ContactFields> OutlookCsvContacts::Read()
{
    std::vector<ContactFields> contacts;
    std::array<QString, ColumnCount> value;
    while (m_reader.Next()) {
        if (m_reader.IsBlank())
            continue;
        for (int column = 0; column < ColumnCount; ++column)
            value[size_t(column)] = m_reader.Field(m_fieldOfColumn[size_t(column)]);
        contacts.push_back(ContactOf(value));
    }
    return contacts;
}
