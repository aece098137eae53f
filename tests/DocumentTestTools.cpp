#include "DocumentTestTools.h"

#include "model/DocumentFile.h"

#include <QFile>

namespace {

QString DumpRecord(const clsDictionary<ColumnValue>& spalten, const clsDictionary<AdresseRef>& adressen)
{
    QStringList columns;
    for (const auto& [key, value] : spalten)
        columns.append(key + QLatin1Char('=') + value.Text());
    QString dump = columns.join(QLatin1Char('|'));
    for (const auto& [number, adresse] : adressen)
        dump += QLatin1Char('[') + DumpRecord(adresse->m_dicSpalten, adresse->m_dicAdressen) + QLatin1Char(']');
    return dump;
}

}

QString Dump(const clsFirma& firma)
{
    return DumpRecord(firma.m_dicSpalten, firma.m_dicAdressen);
}

NextIDFunction Counter()
{
    return [next = 0]() mutable { return ++next; };
}

FirmaRef ReadDocument(const QByteArray& bytes, const NextIDFunction& NextID)
{
    auto firma = std::make_shared<clsFirma>();
    firma->LoadFromXML(QByteArrayView(bytes), NextID);
    return firma;
}

FirmaRef ReadDocumentText(const QByteArray& bytes, const NextIDFunction& NextID)
{
    auto firma = std::make_shared<clsFirma>();
    firma->LoadFromXML(DocumentFileText(bytes), NextID);
    return firma;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString FirstDifferentLine(const QByteArray& written, const QByteArray& expected)
{
    const QList<QByteArray> writtenLines = written.split('\n');
    const QList<QByteArray> expectedLines = expected.split('\n');
    for (qsizetype line = 0; line < std::max(writtenLines.size(), expectedLines.size()); ++line) {
        const QByteArray is = writtenLines.value(line), should = expectedLines.value(line);
        if (is != should || line >= writtenLines.size() || line >= expectedLines.size())
            return QStringLiteral("line %1 differs: written \"%2\", expected \"%3\"")
                .arg(QString::number(line + 1), QString::fromLatin1(is.toPercentEncoding(" <>/&'=?")),
                     QString::fromLatin1(should.toPercentEncoding(" <>/&'=?")));
    }
    return QString();
}

QString TestDataFile(const QString& name)
{
    return QStringLiteral(ZIDEVAVI_TEST_DATA "/") + name;
}
