#include "model/DocumentFile.h"

#include "model/CodePage1252.h"
#include "model/DocumentMarkup.h"
#include "model/Failure.h"
#include "model/clsFirma.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

const QByteArray DocumentHeaderLine = QByteArrayLiteral("<?xml version='1.0' encoding='iso-8859-1'?>");

namespace {

class ByteOutput final : public MarkupOutput
{
public:
    explicit ByteOutput(QByteArray& bytes) : m_bytes(bytes) {}
    void Append(QStringView markup) override { AppendWindows1252(m_bytes, markup); }

private:
    QByteArray& m_bytes;
};

}

QByteArray DocumentFileBytes(const clsFirma& firma)
{
    QByteArray bytes = DocumentHeaderLine + "\r\n";
    ByteOutput out(bytes);
    WriteCompanyMarkup(out, firma);
    bytes += "\r\n";
    return bytes;
}

QString DocumentFileText(QByteArrayView bytes)
{
    return DecodeWindows1252(bytes);
}

QByteArray ReadDocumentFile(const QString& strFile)
{
    const QString shown = QDir::toNativeSeparators(strFile);
    QFile file(strFile);
    if (!QFileInfo(file).isFile())
        throw Failure(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(shown));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(shown, file.errorString()));
    // Read positions are 32-bit character indexes.
    if (file.size() >= std::numeric_limits<qint32>::max())
        throw Failure(QStringLiteral("Die Datei \"%1\" ist zu groß.").arg(shown));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(shown, file.errorString()));
    return bytes;
}

void WriteDocumentFile(const QString& strFile, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(strFile);
    const QFileInfo info(strFile);
    // The rename would replace a write-protected file as well; refuse as a
    // direct write would.
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: Zugriff verweigert.").arg(shown));
    QSaveFile file(strFile);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2").arg(shown, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(shown, file.errorString()));
}
