#include "platform/ContactList.h"

#include "model/Failure.h"

#include <QCollator>

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
class ListedItems final : public ContactItems
{
public:
    explicit ListedItems(std::vector<ContactFields> contacts)
        : m_items(std::make_shared<std::vector<ListedItem>>(std::make_move_iterator(contacts.begin()),
                                                            std::make_move_iterator(contacts.end())))
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

private:
    std::shared_ptr<std::vector<ListedItem>> m_items;
    size_t m_next = 0;
};

// Application, namespace and folder in one: there is one folder to give.
class ListedSource final : public ContactApplication,
                           public ContactNamespace,
                           public ContactFolder,
                           public std::enable_shared_from_this<ListedSource>
{
public:
    explicit ListedSource(ContactReader readContacts) : m_readContacts(std::move(readContacts)) {}

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

    std::shared_ptr<ContactItems> Items() override
    {
        return std::make_shared<ListedItems>(m_readContacts());
    }

private:
    ContactReader m_readContacts;
};

}

ContactApplicationRef CreateContactListApplication(ContactReader readContacts)
{
    return std::make_shared<ListedSource>(std::move(readContacts));
}
