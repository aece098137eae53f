#include "platform/ContactBooks.h"

#include "model/Failure.h"
#include "platform/vcard/VCardContact.h"
#include "platform/vcard/VCardText.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {

Failure NoSuchProperty(const QString& name)
{
    return Failure(QStringLiteral("Die Eigenschaft \u201E%1\u201C gibt es bei Kontakten nicht.").arg(name));
}

class ListedItem final : public ContactItem
{
public:
    explicit ListedItem(ContactFields fields) : m_fields(std::move(fields)) {}

    QString TypeName() const override { return m_fields.typeName; }

    QString TextProperty(const QString& name) const override
    {
        if (const QString* text = m_fields.Text(name))
            return *text;
        throw NoSuchProperty(name);
    }

    qint32 IntegerProperty(const QString& name) const override
    {
        if (name == QLatin1String("Gender"))
            return m_fields.gender;
        throw NoSuchProperty(name);
    }

private:
    ContactFields m_fields;
};

// The items are kept by value, one after the other in the order they
// enumerate in, which the import then reads straight through; an item
// handed out shares the ownership of the list it lies in.
class BookItems final : public ContactItems
{
public:
    BookItems(std::vector<ListedItem> items, QString report)
        : m_items(std::make_shared<std::vector<ListedItem>>(std::move(items))), m_report(std::move(report))
    {
    }

    void Sort(const QString& property, bool descending) override
    {
        QString name = property.trimmed();
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);

        std::vector<ListedItem>& items = *m_items;
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(items.size());
        for (const ListedItem& item : items)
            keys.push_back(collator.sortKey(item.TextProperty(name)));

        std::vector<size_t> order(items.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int comparison = keys[a].compare(keys[b]);
            return descending ? comparison > 0 : comparison < 0;
        });

        // Items already handed out keep what they hold.
        const bool handedOut = m_items.use_count() > 1;
        auto sorted = std::make_shared<std::vector<ListedItem>>();
        sorted->reserve(items.size());
        for (size_t index : order)
            sorted->push_back(handedOut ? items[index] : std::move(items[index]));
        m_items = std::move(sorted);
        m_next = 0;
    }

    std::shared_ptr<ContactItem> GetFirst() override
    {
        m_next = 0;
        return GetNext();
    }

    std::shared_ptr<ContactItem> GetNext() override
    {
        if (m_next >= m_items->size())
            return nullptr;
        return std::shared_ptr<ContactItem>(m_items, &(*m_items)[m_next++]);
    }

    QString SkippedBooksReport() const override { return m_report; }

private:
    std::shared_ptr<std::vector<ListedItem>> m_items;
    QString m_report;
    size_t m_next = 0;
};

std::shared_ptr<ContactItems> ReadBooks(const std::vector<ContactBook>& books)
{
    std::vector<ListedItem> items;
    std::vector<SkippedBook> skipped;
    QSet<QString> uids;
    bool anyRead = false;
    for (const ContactBook& book : books) {
        BookContents contents;
        try {
            contents = book.read();
        } catch (...) {
            skipped.push_back({book.name, book.file, CurrentFailureDescription()});
            continue;
        }
        anyRead = true;
        items.reserve(items.size() + contents.contacts.size());
        uids.reserve(uids.size() + qsizetype(contents.contacts.size()));
        for (BookContact& contact : contents.contacts) {
            if (!contact.uid.isEmpty()) {
                if (uids.contains(contact.uid))
                    continue;
                uids.insert(contact.uid);
            }
            items.emplace_back(std::move(contact.fields));
        }
        skipped.insert(skipped.end(), contents.skipped.begin(), contents.skipped.end());
    }
    if (!anyRead && !skipped.empty())
        throw Failure(SkippedBooksMessage(skipped));
    return std::make_shared<BookItems>(std::move(items), skipped.empty() ? QString() : SkippedBooksMessage(skipped));
}

// Application, namespace and contacts folder are one object: the books
// are all there is to reach.
class BookSource final : public ContactApplication,
                         public ContactNamespace,
                         public ContactFolder,
                         public std::enable_shared_from_this<BookSource>
{
public:
    explicit BookSource(std::vector<ContactBook> books) : m_books(std::move(books)) {}

    std::shared_ptr<ContactNamespace> GetNamespace(const QString& type) override
    {
        if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
            throw Failure::InvalidArgument();
        return shared_from_this();
    }

    std::shared_ptr<ContactFolder> GetDefaultFolder(int folderType) override
    {
        if (folderType != FolderContacts)
            throw Failure::InvalidArgument();
        return shared_from_this();
    }

    std::shared_ptr<ContactItems> Items() override { return ReadBooks(m_books); }

private:
    std::vector<ContactBook> m_books;
};

}

ContactApplicationRef CreateBookApplication(std::vector<ContactBook> books)
{
    return std::make_shared<BookSource>(std::move(books));
}

BookContact ContactOfCard(const VCard& card, const QString& storeUid)
{
    const VCardProperty* uid = card.First("UID");
    const QString text = uid ? UnescapeVCardText(uid->value).trimmed() : QString();
    return {text.isEmpty() ? storeUid : text, VCardContact(card)};
}

void AppendCards(const QByteArray& vcardText, std::vector<BookContact>& contacts, const QString& storeUid)
{
    for (const VCard& card : ReadVCards(vcardText))
        contacts.push_back(ContactOfCard(card, storeUid));
}

QString SkippedBooksMessage(const std::vector<SkippedBook>& skipped)
{
    QString message = skipped.size() == 1
                          ? QStringLiteral("Dieses Adressbuch konnte nicht gelesen werden; seine Kontakte fehlen:")
                          : QStringLiteral("Diese Adressbücher konnten nicht gelesen werden; ihre Kontakte fehlen:");
    for (const SkippedBook& book : skipped)
        message += QStringLiteral("\n\n\u201E%1\u201C (%2)\n%3").arg(book.name, book.file, book.reason);
    return message;
}
