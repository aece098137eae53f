#include "model/DocumentFile.h"

#include "model/CodePage1252.h"
#include "model/DocumentMarkup.h"
#include "model/Failure.h"
#include "model/clsFirma.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

const QByteArray DocumentHeaderLine = QByteArrayLiteral("<?xml version='1.0' encoding='iso-8859-1'?>");

namespace {

// Encodes the markup into a buffer that goes to the device whenever it is
// full, so a save never holds the whole file in memory.
class DeviceOutput final : public MarkupOutput
{
public:
    explicit DeviceOutput(QIODevice& device) : m_device(device) { m_buffer.reserve(BufferSize + 4096); }

    void Append(QStringView markup) override
    {
        AppendWindows1252(m_buffer, markup);
        if (m_buffer.size() >= BufferSize)
            Flush();
    }

    void Flush()
    {
        if (m_device.write(m_buffer) != m_buffer.size())
            throw Failure(QStringLiteral("Schreibfehler: %1").arg(m_device.errorString()));
        m_buffer.resize(0);
    }

private:
    static constexpr qsizetype BufferSize = 1 << 20;
    QIODevice& m_device;
    QByteArray m_buffer;
};

}

void WriteDocument(QIODevice& device, const clsFirma& firma)
{
    DeviceOutput out(device);
    out.Append(QString::fromLatin1(DocumentHeaderLine));
    out.Append(u"\r\n");
    WriteCompanyMarkup(out, firma);
    out.Append(u"\r\n");
    out.Flush();
}

QByteArray DocumentFileBytes(const clsFirma& firma)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteDocument(buffer, firma);
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

void SaveDocumentFile(const QString& strFile, const clsFirma& firma)
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
    try {
        WriteDocument(file, firma);
    } catch (const Failure&) {
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(shown, file.errorString()));
    }
    if (!file.commit())
        throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(shown, file.errorString()));
}
