#include "contacts/vcard/VCardContact.h"

#include "contacts/MultiLineText.h"
#include "contacts/OutlookNames.h"
#include "contacts/vcard/VCardText.h"
#include "platform/Failure.h"

#include <climits>

namespace {

// The components of N and ADR, by position.
enum NamePart { Family, Given, Additional, Prefix, NameSuffix };
enum AddressPart { PoBox, Extended, Street, Locality, Region, PostalCode, Country };

QString Component(const QStringList& components, int index)
{
    return index < components.size() ? components[index] : QString();
}

QString JoinNonEmpty(const QStringList& parts, const QString& separator)
{
    QString joined;
    for (const QString& part : parts) {
        const QString trimmed = part.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined += separator;
        joined += trimmed;
    }
    return joined;
}

QString TextOf(const VCardProperty* property)
{
    return property ? UnescapeVCardText(property->value) : QString();
}

bool ValueIs(const VCardProperty& property, const char* value)
{
    return property.value.trimmed().compare(QLatin1String(value), Qt::CaseInsensitive) == 0;
}

// vCard 4 and Apple mark groups by their kind and members; Evolution marks
// its contact lists with a property of its own.
bool IsGroupCard(const VCard& card)
{
    for (const VCardProperty& property : card.properties) {
        if (property.Is("MEMBER") || property.Is("X-ADDRESSBOOKSERVER-MEMBER"))
            return true;
        if ((property.Is("KIND") || property.Is("X-ADDRESSBOOKSERVER-KIND")) && ValueIs(property, "group"))
            return true;
        if (property.Is("X-EVOLUTION-LIST") && ValueIs(property, "TRUE"))
            return true;
    }
    return false;
}

// Of the properties of that name, the one with the lowest PREF rank, else
// the first; nullptr for none.
const VCardProperty* MostPreferred(const VCard& card, QByteArrayView name)
{
    const VCardProperty* best = nullptr;
    int bestRank = INT_MAX;
    for (const VCardProperty& property : card.properties) {
        if (!property.Is(name))
            continue;
        const int rank = property.pref > 0 ? property.pref : INT_MAX - 1;
        if (rank < bestRank) {
            best = &property;
            bestRank = rank;
        }
    }
    return best;
}

// vCard 4 writes telephone numbers as "tel:" links.
QString TelephoneNumber(const VCardProperty& property)
{
    QString number = UnescapeVCardText(property.value);
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number.remove(0, 4);
    return number;
}

// A number that says no more than that it is one: no type, or only VOICE,
// which is what a number is unless said otherwise.
bool IsUntypedNumber(const VCardProperty& property)
{
    for (const QByteArray& type : property.types) {
        if (type != "VOICE")
            return false;
    }
    return true;
}

}

VCardContact::VCardContact(const VCard& card, ExtendedAddress extended)
{
    if (IsGroupCard(card))
        typeName = QStringLiteral("DistListItem");
    ReadName(card, ReadOrganization(card));
    ReadAddress(card, extended);
    ReadTelephones(card);
    ReadInternet(card);
    ReadGender(card);
    text[JobTitle] = TextOf(card.First("TITLE"));
}

// FullName is the card's FN, or formed from N where there is none; the
// company never stands in for a name. Company cards of Evolution and Apple
// carry the company as FN and no name parts: that FN is no name either.
void VCardContact::ReadName(const VCard& card, const QString& company)
{
    const VCardProperty* n = card.First("N");
    const QStringList name = n ? SplitVCardComponents(n->value) : QStringList();
    const QString given = Component(name, Given);
    const QString additional = Component(name, Additional);
    const QString family = Component(name, Family);
    text[Title] = Component(name, Prefix);
    text[FirstName] = given;
    text[LastName] = family;
    text[Suffix] = Component(name, NameSuffix);

    text[LastFirstSpaceOnly] = OutlookLastFirstSpaceOnly(given, additional, family, text[Suffix], company);

    QString fullName = TextOf(card.First("FN")).trimmed();
    const bool hasNameParts = !(given + additional + family).trimmed().isEmpty();
    if (!hasNameParts && fullName == company)
        fullName.clear();
    if (fullName.isEmpty())
        fullName = OutlookFullName(text[Title], given, additional, family, text[Suffix]);
    text[FullName] = fullName;
}

void VCardContact::ReadAddress(const VCard& card, ExtendedAddress extended)
{
    const VCardProperty* business = nullptr;
    const VCardProperty* untyped = nullptr;
    for (const VCardProperty& property : card.properties) {
        if (!property.Is("ADR"))
            continue;
        if (property.HasType("WORK")) {
            business = &property;
            break;
        }
        if (!untyped && !property.HasType("HOME") && !property.HasType("OTHER"))
            untyped = &property;
    }
    if (!business)
        business = untyped;
    if (!business)
        return;

    // The PO box, then the street and the extended part in the order their
    // writer means them, each on its own line.
    const QStringList address = SplitVCardComponents(business->value);
    const QString street = Component(address, Street);
    const QString extension = Component(address, Extended);
    const bool extensionFirst = extended == ExtendedAddress::BeforeStreet;
    AppendStreetLines(
        {Component(address, PoBox), extensionFirst ? extension : street, extensionFirst ? street : extension},
        text[BusinessAddressStreet]);
    text[BusinessAddressCity] = Component(address, Locality);
    text[BusinessAddressPostalCode] = Component(address, PostalCode);
    text[BusinessAddressCountry] = Component(address, Country);
}

// A number without any type counts as a business number, as an untyped
// address or web page does, after the ones marked WORK.
void VCardContact::ReadTelephones(const VCard& card)
{
    QStringList business;
    QStringList untyped;
    QString otherFax;
    for (const VCardProperty& property : card.properties) {
        if (!property.Is("TEL"))
            continue;
        const bool work = property.HasType("WORK");
        const bool fax = property.HasType("FAX");
        const bool cell = property.HasType("CELL");
        if (work && !fax && !cell && !property.HasType("PAGER"))
            business.append(TelephoneNumber(property));
        if (IsUntypedNumber(property))
            untyped.append(TelephoneNumber(property));
        if (cell && text[MobileTelephoneNumber].isEmpty())
            text[MobileTelephoneNumber] = TelephoneNumber(property);
        if (work && fax && text[BusinessFaxNumber].isEmpty())
            text[BusinessFaxNumber] = TelephoneNumber(property);
        if (fax && !work && !property.HasType("HOME") && otherFax.isEmpty())
            otherFax = TelephoneNumber(property);
    }
    business += untyped;
    text[BusinessTelephoneNumber] = business.value(0);
    text[Business2TelephoneNumber] = business.value(1);
    if (text[BusinessFaxNumber].isEmpty())
        text[BusinessFaxNumber] = otherFax;
}

void VCardContact::ReadInternet(const VCard& card)
{
    const VCardProperty* workUrl = nullptr;
    const VCardProperty* otherUrl = nullptr;
    int otherUrlCount = 0;
    for (const VCardProperty& property : card.properties) {
        if (property.Is("URL")) {
            if (!workUrl && property.HasType("WORK"))
                workUrl = &property;
            else if (!property.HasType("HOME") && otherUrlCount++ == 0)
                otherUrl = &property;
        }
    }
    text[Email1Address] = TextOf(MostPreferred(card, "EMAIL"));
    // Without a work address, a single untyped one is taken; of several the
    // program cannot tell which is the business page.
    text[BusinessHomePage] = TextOf(workUrl ? workUrl : (otherUrlCount == 1 ? otherUrl : nullptr));
}

// The department; returns the company, which is no column of its own.
QString VCardContact::ReadOrganization(const VCard& card)
{
    const VCardProperty* org = card.First("ORG");
    if (!org)
        return QString();
    QStringList units = SplitVCardComponents(org->value);
    const QString company = units.takeFirst().trimmed();
    text[Department] = JoinNonEmpty(units, QStringLiteral("; "));
    return company;
}

void VCardContact::ReadGender(const VCard& card)
{
    if (const VCardProperty* property = card.First("GENDER")) {
        const QString sex = SplitVCardComponents(property->value).constFirst().trimmed().toUpper();
        gender = sex == QLatin1String("M") ? 2 : sex == QLatin1String("F") ? 1 : 0;
        return;
    }
    if (const VCardProperty* wabGender = card.First("X-WAB-GENDER")) {
        const int value = wabGender->value.trimmed().toInt();
        gender = value == 1 || value == 2 ? value : 0;
    }
}

PackedContact ContactOfCard(const VCard& card, PackedTexts& texts, const QString& storeUid, ExtendedAddress extended)
{
    const VCardProperty* uid = card.First("UID");
    const QString text = uid ? UnescapeVCardText(uid->value).trimmed() : QString();
    return PackedContact(VCardContact(card, extended), text.isEmpty() ? storeUid : text, texts);
}

void AppendCards(const QByteArray& vcardText, BookContents& contents, const QString& storeUid, ExtendedAddress extended)
{
    for (const VCard& card : ReadVCards(vcardText))
        contents.contacts.push_back(ContactOfCard(card, contents.texts, storeUid, extended));
}

void AppendCardsOfFile(const QByteArray& fileBytes, BookContents& contents)
{
    const std::vector<VCard> cards = ReadVCards(fileBytes);
    if (cards.empty())
        throw Failure(QStringLiteral("Die Datei enthält keine vCard: keine ihrer Zeilen beginnt mit "
                                     "\u201EBEGIN:VCARD\u201C. Sie ist leer, keine vCard-Datei oder in einer "
                                     "unbekannten Zeichenkodierung geschrieben."));
    for (const VCard& card : cards)
        contents.contacts.push_back(ContactOfCard(card, contents.texts));
}
