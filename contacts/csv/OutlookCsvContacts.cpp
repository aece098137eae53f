#include "contacts/csv/OutlookCsvContacts.h"

#include "contacts/MultiLineText.h"
#include "contacts/OutlookNames.h"
#include "model/CodePage1252.h"
#include "platform/Failure.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>

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

// The words of Outlook's gender list, in either language.
qint32 GenderNumber(QStringView word)
{
    struct GenderWord
    {
        QStringView word;
        qint32 number;
    };
    static constexpr GenderWord words[] = {{u"Male", 2}, {u"Männlich", 2}, {u"Female", 1}, {u"Weiblich", 1}};
    const QStringView trimmed = word.trimmed();
    for (const GenderWord& gender : words) {
        if (trimmed.size() == gender.word.size() && trimmed.compare(gender.word, Qt::CaseInsensitive) == 0)
            return gender.number;
    }
    return 0;
}

qint32 GenderNumber(QByteArrayView codePageWord)
{
    // Most values are no gender word ("Keine Angabe", "Unspecified"): one
    // longer than all of them, with nothing to trim, is not decoded.
    constexpr qsizetype LongestWord = 8;
    const auto blank = [](char c) { return QChar::isSpace(Windows1252Char(c)); };
    if (codePageWord.size() > LongestWord && !blank(codePageWord.front()) && !blank(codePageWord.back()))
        return 0;
    QVarLengthArray<char16_t, 64> word(codePageWord.size());
    std::transform(codePageWord.begin(), codePageWord.end(), word.begin(), Windows1252Char);
    return GenderNumber(QStringView(word.data(), word.size()));
}

// A record whose texts the code page holds, as it holds them.
PackedContact ContactOf(const std::array<QByteArrayView, ColumnCount>& value, std::string& fullName,
                        std::string& street, PackedTexts& texts)
{
    std::array<QByteArrayView, PackedContact::TextCount> text;
    for (const PlainColumn& plain : PlainColumns)
        text[plain.field] = value[plain.column];
    fullName.clear();
    AppendOutlookFullName(value[Title], value[FirstName], value[MiddleName], value[LastName], value[Suffix], fullName);
    text[ContactFields::FullName] = QByteArrayView(fullName.data(), qsizetype(fullName.size()));
    street.clear();
    AppendStreetLines({value[Street], value[Street2], value[Street3]}, street);
    text[ContactFields::BusinessAddressStreet] = QByteArrayView(street.data(), qsizetype(street.size()));
    PackedContact contact(text, texts);
    contact.gender = GenderNumber(value[Gender]);
    return contact;
}

// Any other record, as text.
PackedContact ContactOf(const std::array<QString, ColumnCount>& value, PackedTexts& texts)
{
    ContactFields contact;
    for (const PlainColumn& plain : PlainColumns)
        contact.text[plain.field] = value[plain.column];
    contact.text[ContactFields::FullName] =
        OutlookFullName(value[Title], value[FirstName], value[MiddleName], value[LastName], value[Suffix]);
    contact.text[ContactFields::LastFirstSpaceOnly] =
        OutlookLastFirstSpaceOnly(value[FirstName], value[MiddleName], value[LastName], value[Suffix], value[Company]);
    AppendStreetLines({value[Street], value[Street2], value[Street3]},
                      contact.text[ContactFields::BusinessAddressStreet]);
    contact.gender = GenderNumber(value[Gender]);
    return PackedContact(contact, QString(), texts);
}

bool IsAscii(const std::array<QByteArrayView, ColumnCount>& values)
{
    uchar any = 0;
    for (const QByteArrayView value : values) {
        for (const char c : value)
            any |= uchar(c);
    }
    return any < 0x80;
}

}

OutlookCsvContacts::OutlookCsvContacts(QByteArrayView bytes, const QString& fileName)
    : m_reader(bytes), m_fieldOfColumn(ColumnCount, -1)
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

std::vector<PackedContact> OutlookCsvContacts::Read(PackedTexts& texts)
{
    std::vector<PackedContact> contacts;
    std::array<QByteArrayView, ColumnCount> bytes;
    std::array<QString, ColumnCount> text;
    std::string fullName;
    std::string street;
    // Room for as many more contacts as the first records suggest.
    constexpr size_t Sample = 64;
    const qsizetype start = m_reader.Remaining();
    while (m_reader.Next()) {
        if (m_reader.IsBlank())
            continue;
        if (contacts.size() == Sample) {
            const qsizetype perContact = std::max<qsizetype>(1, (start - m_reader.Remaining()) / qsizetype(Sample));
            contacts.reserve(Sample * 2 + size_t(m_reader.Remaining() / perContact));
        }
        for (size_t column = 0; column < ColumnCount; ++column)
            bytes[column] = m_reader.FieldBytes(m_fieldOfColumn[column]);
        // Code page and ASCII bytes are kept as they are; other UTF-8 is
        // read as text.
        if (!m_reader.IsUtf8() || IsAscii(bytes)) {
            contacts.push_back(ContactOf(bytes, fullName, street, texts));
            continue;
        }
        for (size_t column = 0; column < ColumnCount; ++column)
            text[column] = m_reader.Field(m_fieldOfColumn[column]);
        contacts.push_back(ContactOf(text, texts));
    }
    return contacts;
}
