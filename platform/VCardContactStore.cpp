#include "platform/VCardContactStore.h"

#include "model/Failure.h"
#include "platform/vcard/VCardContact.h"

#include <QCollator>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

Failure NoSuchProperty(const QString& name)
{
    return Failure(QStringLiteral("Die Eigenschaft \u201E%1\u201C gibt es bei Kontakten nicht.").arg(name));
}

class VCardItem final : public ContactItem
{
public:
    explicit VCardItem(const VCard& card) : m_contact(card) {}

    QString TypeName() const override { return m_contact.TypeName(); }

    QString TextProperty(const QString& name) const override
    {
        if (const QString* text = m_contact.Text(name))
            return *text;
        throw NoSuchProperty(name);
    }

    qint32 IntegerProperty(const QString& name) const override
    {
        if (name == QLatin1String("Gender"))
            return m_contact.Gender();
        throw NoSuchProperty(name);
    }

private:
    VCardContact m_contact;
};

class VCardItems final : public ContactItems
{
public:
    explicit VCardItems(std::vector<std::shared_ptr<ContactItem>> items) : m_items(std::move(items)) {}

    void Sort(const QString& property, bool descending) override
    {
        QString name = property.trimmed();
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);

        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(m_items.size());
        for (const auto& item : m_items)
            keys.push_back(collator.sortKey(item->TextProperty(name)));

        std::vector<size_t> order(m_items.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int comparison = keys[a].compare(keys[b]);
            return descending ? comparison > 0 : comparison < 0;
        });

        std::vector<std::shared_ptr<ContactItem>> sorted;
        sorted.reserve(m_items.size());
        for (size_t index : order)
            sorted.push_back(std::move(m_items[index]));
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
        return m_next < m_items.size() ? m_items[m_next++] : nullptr;
    }

private:
    std::vector<std::shared_ptr<ContactItem>> m_items;
    size_t m_next = 0;
};

class VCardFolder final : public ContactFolder
{
public:
    explicit VCardFolder(QString source) : m_source(std::move(source)) {}

    std::shared_ptr<ContactItems> Items() override
    {
        const QStringList files = QFileInfo(m_source).isDir() ? VCardFilesBelow(m_source) : QStringList{m_source};
        std::vector<std::shared_ptr<ContactItem>> items;
        for (const QString& path : files) {
            for (const VCard& card : ReadVCards(ReadFile(path)))
                items.push_back(std::make_shared<VCardItem>(card));
        }
        return std::make_shared<VCardItems>(std::move(items));
    }

private:
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden.").arg(path));
        return file.readAll();
    }

    QString m_source;
};

class VCardNamespace final : public ContactNamespace
{
public:
    explicit VCardNamespace(QString source) : m_source(std::move(source)) {}

    std::shared_ptr<ContactFolder> GetDefaultFolder(int folderType) override
    {
        if (folderType != FolderContacts)
            throw Failure::InvalidArgument();
        return std::make_shared<VCardFolder>(m_source);
    }

private:
    QString m_source;
};

class VCardApplication final : public ContactApplication
{
public:
    explicit VCardApplication(QString source) : m_source(std::move(source)) {}

    std::shared_ptr<ContactNamespace> GetNamespace(const QString& type) override
    {
        if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
            throw Failure::InvalidArgument();
        return std::make_shared<VCardNamespace>(m_source);
    }

private:
    QString m_source;
};

}

QString AddressBookFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/contacts");
}

ContactApplicationRef CreateVCardApplication(const QString& vcardFile)
{
    if (vcardFile.isEmpty()) {
        const QString folder = AddressBookFolder();
        if (!QFileInfo(folder).isDir())
            throw Failure(QStringLiteral("Das Adressbuch \u201E%1\u201C wurde nicht gefunden. Legen Sie Ihre Kontakte "
                                         "als vCard-Dateien (*.vcf) in diesen Ordner.")
                              .arg(folder));
        return std::make_shared<VCardApplication>(folder);
    }
    if (!QFileInfo(vcardFile).isFile())
        throw Failure(QStringLiteral("Die vCard-Datei \u201E%1\u201C wurde nicht gefunden.").arg(vcardFile));
    return std::make_shared<VCardApplication>(vcardFile);
}

QStringList VCardFilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.vcf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}
