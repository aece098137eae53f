#include "FakeContactStore.h"

#include "platform/Failure.h"
#include "platform/MousePointer.h"

#include <algorithm>

namespace {

const QStringList TextProperties = {
    u"FullName"_qs, u"LastFirstSpaceOnly"_qs, u"Title"_qs, u"FirstName"_qs, u"LastName"_qs, u"Suffix"_qs,
    u"BusinessAddressStreet"_qs, u"BusinessAddressCity"_qs, u"BusinessAddressPostalCode"_qs,
    u"BusinessAddressCountry"_qs, u"BusinessTelephoneNumber"_qs, u"Business2TelephoneNumber"_qs,
    u"MobileTelephoneNumber"_qs, u"BusinessFaxNumber"_qs, u"Email1Address"_qs, u"BusinessHomePage"_qs,
    u"Department"_qs, u"JobTitle"_qs};

class FakeItem final : public ContactItem
{
public:
    FakeItem(FakeContactStore& store, FakeContactStore::Contact contact) : m_store(store), m_contact(std::move(contact))
    {
    }

    QString TypeName() const override
    {
        m_store.log << u"TypeName"_qs;
        return m_contact.typeName;
    }

    QString TextProperty(const QString& name) const override
    {
        m_store.log << name;
        if (!TextProperties.contains(name) || name == m_store.failOnProperty)
            throw Failure(u"Eigenschaft %1 nicht lesbar"_qs.arg(name));
        return m_contact.text.value(name);
    }

    qint32 IntegerProperty(const QString& name) const override
    {
        m_store.log << name;
        if (name != u"Gender"_qs || name == m_store.failOnProperty)
            throw Failure(u"Eigenschaft %1 nicht lesbar"_qs.arg(name));
        return m_contact.gender;
    }

    const FakeContactStore::Contact& contact() const { return m_contact; }

private:
    FakeContactStore& m_store;
    FakeContactStore::Contact m_contact;
};

class FakeItems final : public ContactItems
{
public:
    explicit FakeItems(FakeContactStore& store) : m_store(store)
    {
        for (const auto& contact : store.contacts)
            m_items.push_back(std::make_shared<FakeItem>(store, contact));
    }

    qsizetype Count() const override { return qsizetype(m_items.size()); }

    void Sort(const QString& property, bool descending) override
    {
        m_store.Check(u"Sort %1 %2"_qs.arg(property).arg(descending));
        if (!m_store.sortByFullName)
            return;
        std::stable_sort(m_items.begin(), m_items.end(), [](const auto& a, const auto& b) {
            return a->contact().text.value(u"FullName"_qs) < b->contact().text.value(u"FullName"_qs);
        });
    }

    std::shared_ptr<ContactItem> GetFirst() override
    {
        m_next = 0;
        return GetNext();
    }

    std::shared_ptr<ContactItem> GetNext() override
    {
        return m_next < m_items.size() ? m_items[m_next++] : nullptr;
    }

private:
    FakeContactStore& m_store;
    std::vector<std::shared_ptr<FakeItem>> m_items;
    size_t m_next = 0;
};

// Application, namespace and folder in one: each step only logs and hands on.
struct FakeSource final : ContactApplication, ContactNamespace, ContactFolder, std::enable_shared_from_this<FakeSource>
{
    explicit FakeSource(FakeContactStore& store) : store(store) {}
    std::shared_ptr<ContactNamespace> GetNamespace(const QString& type) override
    {
        store.Check(u"Namespace %1"_qs.arg(type));
        return shared_from_this();
    }
    std::shared_ptr<ContactFolder> GetDefaultFolder(int folderType) override
    {
        store.Check(u"Folder %1"_qs.arg(folderType));
        return shared_from_this();
    }
    std::shared_ptr<ContactItems> Items() override
    {
        store.Check(u"Items"_qs);
        return std::make_shared<FakeItems>(store);
    }
    FakeContactStore& store;
};

}

FakeContactStore::FakeContactStore()
{
    SetContactStoreFactory([this](const QString& source) -> ContactApplicationRef {
        lastSource = source;
        Check(u"Application"_qs);
        return std::make_shared<FakeSource>(*this);
    });
}

FakeContactStore::~FakeContactStore()
{
    SetContactStoreFactory(nullptr);
}

FakeContactStore::Contact FakeContactStore::Person(const QString& fullName, const QString& lastFirst)
{
    Contact contact;
    contact.text.insert(u"FullName"_qs, fullName);
    contact.text.insert(u"LastFirstSpaceOnly"_qs, lastFirst);
    return contact;
}

// Logs the step with the pointer it ran under, and fails where asked to.
void FakeContactStore::Check(const QString& step)
{
    const bool hourglass = CurrentMousePointer() == MousePointer::Hourglass;
    log << step + (hourglass ? u" (Sanduhr)"_qs : QString());
    if (step.startsWith(failAt) && !failAt.isEmpty())
        throw Failure(u"Kontaktquelle versagt bei %1"_qs.arg(failAt));
}
