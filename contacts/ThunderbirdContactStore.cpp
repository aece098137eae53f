#include "contacts/ThunderbirdContactStore.h"

#include "contacts/books/SqliteBook.h"
#include "contacts/books/ThunderbirdProfiles.h"
#include "contacts/vcard/VCardContact.h"
#include "contacts/vcard/VCardReader.h"

#include <QHash>

#include <array>

namespace {

// Cards saved by Thunderbird 78 to 91 (and never saved since) have no vCard,
// only named properties; this is how Thunderbird itself turns them into
// vCard lines. Each line lists the named properties of its components.
struct CardLine
{
    const char* property;
    const char* type;
    int pref;
    std::array<const char*, 7> components;
};

constexpr CardLine CardLines[] = {
    {"FN", nullptr, 0, {"DisplayName"}},
    {"N", nullptr, 0, {"LastName", "FirstName", "AdditionalNames", "NamePrefix", "NameSuffix"}},
    {"EMAIL", nullptr, 1, {"PrimaryEmail"}},
    {"EMAIL", nullptr, 0, {"SecondEmail"}},
    {"ORG", nullptr, 0, {"Company", "Department"}},
    {"TITLE", nullptr, 0, {"JobTitle"}},
    {"ADR", "WORK", 0, {"WorkPOBox", "WorkAddress2", "WorkAddress", "WorkCity", "WorkState", "WorkZipCode", "WorkCountry"}},
    {"ADR", "HOME", 0, {"HomePOBox", "HomeAddress2", "HomeAddress", "HomeCity", "HomeState", "HomeZipCode", "HomeCountry"}},
    {"TEL", "WORK", 0, {"WorkPhone"}},
    {"TEL", "HOME", 0, {"HomePhone"}},
    {"TEL", "FAX", 0, {"FaxNumber"}},
    {"TEL", "PAGER", 0, {"PagerNumber"}},
    {"TEL", "CELL", 0, {"CellularNumber"}},
    {"URL", "WORK", 0, {"WebPage1"}},
    {"URL", "HOME", 0, {"WebPage2"}},
};

QString EscapedComponent(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

VCard CardOfNamedProperties(const QHash<QString, QString>& named)
{
    VCard card;
    for (const CardLine& line : CardLines) {
        QStringList components;
        bool anyValue = false;
        for (const char* name : line.components) {
            if (!name)
                break;
            const QString value = named.value(QLatin1String(name));
            anyValue = anyValue || !value.isEmpty();
            components.append(EscapedComponent(value));
        }
        if (!anyValue)
            continue;
        VCardProperty property;
        property.name = line.property;
        if (line.type)
            property.types.append(line.type);
        property.pref = line.pref;
        property.value = components.join(QLatin1Char(';'));
        card.properties.push_back(std::move(property));
    }
    return card;
}

// A card is the set of rows of its UID in "properties"; mailing lists live
// in tables of their own and never appear there. The card's vCard is the
// truth where there is one. Either way the address's extended part is
// Thunderbird's second address line.
BookContents ReadThunderbirdBook(const QString& file)
{
    BookContents contents;
    QList<QString> namedOnly;
    QHash<QString, QHash<QString, QString>> namedByCard;
    ReadSqliteBook(file, SqliteAccess::PrivateCopy, [&](const QSqlDatabase& database) {
        qsizetype withVCard = 0;
        QSqlQuery vcards = RunSql(database, QStringLiteral("SELECT card, value FROM properties WHERE name = '_vCard'"));
        while (vcards.next()) {
            AppendCards(vcards.value(1).toString().toUtf8(), contents, vcards.value(0).toString(),
                        ExtendedAddress::AfterStreet);
            ++withVCard;
        }
        // Looking for cards without a vCard costs more than counting cards,
        // and most books have none.
        QSqlQuery cards = RunSql(database, QStringLiteral("SELECT count(DISTINCT card) FROM properties"));
        if (!cards.next() || cards.value(0).toLongLong() == withVCard)
            return;
        QSqlQuery named = RunSql(database, QStringLiteral("SELECT card, name, value FROM properties WHERE card NOT IN "
                                                          "(SELECT card FROM properties WHERE name = '_vCard')"));
        while (named.next()) {
            const QString card = named.value(0).toString();
            auto found = namedByCard.find(card);
            if (found == namedByCard.end()) {
                namedOnly.append(card);
                found = namedByCard.insert(card, {});
            }
            found->insert(named.value(1).toString(), named.value(2).toString());
        }
    });
    for (const QString& card : namedOnly)
        contents.contacts.push_back(ContactOfCard(CardOfNamedProperties(namedByCard.value(card)), contents.texts, card,
                                                  ExtendedAddress::AfterStreet));
    return contents;
}

}

FoundBooks FindThunderbirdBooks()
{
    FoundBooks found;
    for (const QString& root : ThunderbirdRoots()) {
        found.places.append(QStringLiteral("%1 (Thunderbird)").arg(root));
        for (const QString& profile : ThunderbirdProfilesInUse(root)) {
            for (const ThunderbirdBook& book : ThunderbirdBooksOf(profile)) {
                const QString file = book.file;
                found.books.push_back({book.name, file, [file] { return ReadThunderbirdBook(file); }});
            }
        }
    }
    return found;
}
