#pragma once

#include "model/ColumnValue.h"

#include <QString>

#include <functional>
#include <memory>

// The contact source the import reads, shaped after the automation objects
// of a mail program's address book: an application object gives a
// namespace, the namespace its default contacts folder, the folder its item
// collection, which can be sorted and enumerated, and every item tells its
// type name and its properties by name. Every operation throws a Failure
// with a German description when it cannot do its job.

// The name of a text property the import reads from every contact, with
// its place among the fields that contacts read from books keep in order
// (ContactFields), found once rather than once a contact.
struct ContactProperty
{
    explicit ContactProperty(const QString& propertyName);

    QString name;
    int field; // -1 for a name contacts do not have
};

class ContactItem
{
public:
    virtual ~ContactItem() = default;
    // "DistListItem" for a distribution list; any other name is a contact.
    virtual QString TypeName() const = 0;
    virtual QString TextProperty(const QString& name) const = 0;
    virtual qint32 IntegerProperty(const QString& name) const = 0;
    // The text property as a record's column value; a source that keeps its
    // texts as the records do hands them over without a copy.
    virtual ColumnValue TextPropertyValue(const ContactProperty& property) const
    {
        return ColumnValue(TextProperty(property.name));
    }
};

class ContactItems
{
public:
    virtual ~ContactItems() = default;
    virtual qsizetype Count() const = 0;
    // "[FullName]" orders by that property; the enumeration follows it.
    virtual void Sort(const QString& property, bool descending) = 0;
    // Enumeration: the first item, then each next one; nullptr after the last.
    virtual std::shared_ptr<ContactItem> GetFirst() = 0;
    virtual std::shared_ptr<ContactItem> GetNext() = 0;
    // The address books that could not be read and were left out, each
    // with the reason, as one German message; empty when all were read.
    virtual QString SkippedBooksReport() const { return QString(); }
};

class ContactFolder
{
public:
    virtual ~ContactFolder() = default;
    virtual std::shared_ptr<ContactItems> Items() = 0;
};

class ContactNamespace
{
public:
    static constexpr int FolderContacts = 10;

    virtual ~ContactNamespace() = default;
    virtual std::shared_ptr<ContactFolder> GetDefaultFolder(int folderType) = 0;
};

class ContactApplication
{
public:
    virtual ~ContactApplication() = default;
    // "MAPI" is the one namespace there is.
    virtual std::shared_ptr<ContactNamespace> GetNamespace(const QString& type) = 0;
};

using ContactApplicationRef = std::shared_ptr<ContactApplication>;
using ContactNamespaceRef = std::shared_ptr<ContactNamespace>;

// The formats of a file the user chooses to import.
enum class ContactFileFormat { VCard, OutlookCsv };

// Starts the contact source. An empty source is every address book found
// on this computer (see ContactBooks.h); otherwise it names a file in the
// given format that stands in as the contacts folder. Fails, saying where
// it looked, when there is no address book at all, and says why when the
// file is none of that format.
ContactApplicationRef CreateContactApplication(const QString& source,
                                               ContactFileFormat format = ContactFileFormat::VCard);

// Tests put their own contact source in place; an empty function restores
// the address books.
using ContactStoreFactory = std::function<ContactApplicationRef(const QString& source)>;
void SetContactStoreFactory(ContactStoreFactory factory);
