#include "model/DocumentFile.h"

#include "model/clsFirma.h"
#include "model/CodePage1252.h"
#include "model/DocumentMarkup.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QIODevice>

#include <limits>

const QByteArray DocumentHeaderLine = QByteArrayLiteral("<?xml version='1.0' encoding='iso-8859-1'?>");

namespace {

void WriteFile(ByteOutput& out, const clsFirma& firma)
{
    out.Write(DocumentHeaderLine + "\r\n");
    WriteCompanyMarkup(out, firma);
    out.Write("\r\n");
}

class DeviceOutput final : public ByteOutput
{
public:
    explicit DeviceOutput(QIODevice& device) : m_device(device) {}
    void Write(QByteArrayView bytes) override
    {
        if (m_device.write(bytes.data(), bytes.size()) != bytes.size())
            throw Failure(QStringLiteral("Schreibfehler: %1").arg(m_device.errorString()));
    }

private:
    QIODevice& m_device;
};

class BytesOutput final : public ByteOutput
{
public:
    explicit BytesOutput(QByteArray& bytes) : m_bytes(bytes) {}
    void Write(QByteArrayView bytes) override { m_bytes.append(bytes); }

private:
    QByteArray& m_bytes;
};

class FileOutput final : public ByteOutput
{
public:
    explicit FileOutput(ReplacingFile& file) : m_file(file) {}
    void Write(QByteArrayView bytes) override { m_file.Write(bytes); }

private:
    ReplacingFile& m_file;
};

}

void WriteDocument(QIODevice& device, const clsFirma& firma)
{
    DeviceOutput out(device);
    WriteFile(out, firma);
}

QByteArray DocumentFileBytes(const clsFirma& firma)
{
    QByteArray bytes;
    BytesOutput out(bytes);
    WriteFile(out, firma);
    return bytes;
}

QString DocumentFileText(QByteArrayView bytes)
{
    return DecodeWindows1252(bytes);
}

void LoadDocumentFile(const QString& strFile, clsFirma& firma, const NextIDFunction& NextID)
{
    // Read positions are 32-bit character indexes. A document of tiny
    // records takes about 16 times its file's size once read and drawn
    // (bench_read_memory).
    const FileContent file(strFile, {std::numeric_limits<qint32>::max() - 1, 16, 0});
    try {
        firma.LoadFromXML(file.Bytes(), NextID);
    } catch (const Failure&) {
        // What the reader found wrong may only be the zeros of a lost end.
        file.ThrowIfCutShort();
        throw;
    }
    file.ThrowIfCutShort();
}

void SaveDocumentFile(const QString& strFile, const clsFirma& firma)
{
    ReplacingFile file(strFile);
    FileOutput out(file);
    WriteFile(out, firma);
    file.Commit();
}
