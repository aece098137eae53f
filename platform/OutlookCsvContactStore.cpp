#include "platform/OutlookCsvContactStore.h"

#include "model/Failure.h"
#include "platform/csv/OutlookCsvContacts.h"

#include <QFile>
#include <QFileInfo>

ContactBook OutlookCsvBook(const QString& csvFile)
{
    if (!QFileInfo(csvFile).isFile())
        throw Failure(QStringLiteral("Die CSV-Datei \u201E%1\u201C wurde nicht gefunden.").arg(csvFile));
    QFile file(csvFile);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden.").arg(csvFile));

    const auto contacts = std::make_shared<OutlookCsvContacts>(std::move(bytes), csvFile);
    return {QFileInfo(csvFile).fileName(), csvFile, [contacts] {
                BookContents contents;
                for (ContactFields& fields : contacts->Read())
                    contents.contacts.push_back({QString(), std::move(fields)});
                return contents;
            }};
}
