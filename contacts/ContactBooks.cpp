#include "contacts/ContactBooks.h"

#include "contacts/CollatedOrder.h"
#include "platform/Failure.h"

#include <QSet>

namespace {

// Every contact read, in the books' packed form; the items handed out share
// the ownership of all of it.
struct ReadContacts
{
    std::vector<PackedTexts> texts;
    std::vector<std::vector<PackedContact>> books;
};

class BookItems final : public ContactItems
{
public:
    BookItems(std::shared_ptr<ReadContacts> contacts, std::vector<PackedContact*> items, QString report)
        : m_contacts(std::move(contacts)), m_items(std::move(items)), m_report(std::move(report))
    {
    }

    qsizetype Count() const override { return qsizetype(m_items.size()); }

    void Sort(const QString& property, bool descending) override
    {
        QString name = property.trimmed();
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        const ContactProperty key(name);
        std::vector<TextSlice> texts;
        texts.reserve(m_items.size());
        for (const PackedContact* item : m_items)
            texts.push_back(item->Slice(key));
        std::vector<PackedContact*> sorted;
        sorted.reserve(m_items.size());
        for (const size_t place : CollatedOrder(texts, descending))
            sorted.push_back(m_items[place]);
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
        if (m_next >= m_items.size())
            return nullptr;
        // Sorted, the contacts are read all over the memory they lie in.
        if (m_next + Ahead < m_items.size()) {
            const char* ahead = reinterpret_cast<const char*>(m_items[m_next + Ahead]);
            for (size_t line = 0; line < sizeof(PackedContact); line += 64)
                __builtin_prefetch(ahead + line);
        }
        return std::shared_ptr<ContactItem>(m_contacts, m_items[m_next++]);
    }

    QString SkippedBooksReport() const override { return m_report; }

private:
    static constexpr size_t Ahead = 4;

    std::shared_ptr<ReadContacts> m_contacts;
    std::vector<PackedContact*> m_items;
    QString m_report;
    size_t m_next = 0;
};

std::shared_ptr<ContactItems> ReadBooks(const std::vector<ContactBook>& books)
{
    auto contacts = std::make_shared<ReadContacts>();
    std::vector<PackedContact*> items;
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
        contacts->texts.push_back(std::move(contents.texts));
        std::vector<PackedContact>& read = contacts->books.emplace_back(std::move(contents.contacts));
        items.reserve(items.size() + read.size());
        for (PackedContact& contact : read) {
            if (const TextSlice uidText = contact.Text(PackedContact::Uid); !uidText.IsEmpty()) {
                const QString uid = uidText.Text();
                if (uids.contains(uid))
                    continue;
                uids.insert(uid);
            }
            items.push_back(&contact);
        }
        skipped.insert(skipped.end(), contents.skipped.begin(), contents.skipped.end());
    }
    if (!anyRead && !skipped.empty())
        throw Failure(SkippedBooksMessage(skipped));
    return std::make_shared<BookItems>(std::move(contacts), std::move(items),
                                       skipped.empty() ? QString() : SkippedBooksMessage(skipped));
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

QString SkippedBooksMessage(const std::vector<SkippedBook>& skipped)
{
    QString message = skipped.size() == 1
                          ? QStringLiteral("Dieses Adressbuch konnte nicht gelesen werden; seine Kontakte fehlen:")
                          : QStringLiteral("Diese Adressbücher konnten nicht gelesen werden; ihre Kontakte fehlen:");
    for (const SkippedBook& book : skipped)
        message += QStringLiteral("\n\n\u201E%1\u201C (%2)\n%3").arg(book.name, book.file, book.reason);
    return message;
}
