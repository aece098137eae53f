#include "platform/VCardContactStore.h"

#include "model/Failure.h"
#include "platform/ContactList.h"
#include "platform/vcard/VCardContact.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden.").arg(path));
    return file.readAll();
}

// Every card of the file, or of every *.vcf file below the folder.
ContactApplicationRef CreateCardsApplication(const QString& source)
{
    return CreateContactListApplication([source] {
        const QStringList files = QFileInfo(source).isDir() ? VCardFilesBelow(source) : QStringList{source};
        std::vector<ContactFields> contacts;
        for (const QString& path : files) {
            for (const VCard& card : ReadVCards(ReadFile(path)))
                contacts.push_back(VCardContact(card));
        }
        return contacts;
    });
}

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
        return CreateCardsApplication(folder);
    }
    if (!QFileInfo(vcardFile).isFile())
        throw Failure(QStringLiteral("Die vCard-Datei \u201E%1\u201C wurde nicht gefunden.").arg(vcardFile));
    return CreateCardsApplication(vcardFile);
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
