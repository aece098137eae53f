#pragma once

#include "contacts/ContactStore.h"

#include <QHash>
#include <QList>
#include <QStringList>

// A contact source for tests: contacts given as property tables, every
// call written to a log. Reading a property the contacts do not have, or
// the one named in failOnProperty, fails as the real source would. Installs
// itself as the contact source for its lifetime.
class FakeContactStore
{
public:
    struct Contact
    {
        QString typeName = QStringLiteral("ContactItem");
        QHash<QString, QString> text;
        qint32 gender = 0;
    };

    // Where the source fails: "Application", "Namespace", "Folder", "Items",
    // "Sort"; empty for nowhere.
    QString failAt;
    QString failOnProperty;
    // Sort orders by FullName, as the real source does; tests switch it off
    // to see that the import keeps the order it is given.
    bool sortByFullName = true;

    QList<Contact> contacts;
    QStringList log;
    QString lastSource;

    FakeContactStore();
    ~FakeContactStore();
    FakeContactStore(const FakeContactStore&) = delete;
    FakeContactStore& operator=(const FakeContactStore&) = delete;

    static Contact Person(const QString& fullName, const QString& lastFirst = QString());
    void Check(const QString& step);
};
