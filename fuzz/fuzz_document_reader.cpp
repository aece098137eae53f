// Feeds arbitrary bytes to the document reader. Reading the bytes, as a file
// is opened, and reading the text they decode to must give the same records
// or the same failure. Whatever it reads must save, and what it saves must
// read back and save to the same bytes again.
#include "model/clsFirma.h"
#include "model/DocumentFile.h"
#include "model/NextID.h"
#include "platform/Failure.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

namespace {


// A column named "Adresse" comes back as a sub-record: the one way a saved
// document reads back different from what was saved.
bool HasAdresseColumn(const clsFirma& firma)
{
    const QString adresse = QStringLiteral("Adresse");
    if (firma.m_dicSpalten.Exists(adresse))
        return true;
    std::vector<const clsAdresse*> pending;
    for (const auto& [number, record] : firma.m_dicAdressen)
        pending.push_back(record.get());
    while (!pending.empty()) {
        const clsAdresse* record = pending.back();
        pending.pop_back();
        if (record->m_dicSpalten.Exists(adresse))
            return true;
        for (const auto& [number, child] : record->m_dicAdressen)
            pending.push_back(child.get());
    }
    return false;
}

[[noreturn]] void Fail(const char* what, const QByteArray& bytes)
{
    std::fprintf(stderr, "%s\n--- document ---\n%s\n", what, bytes.constData());
    std::abort();
}

}

// Reads a document from the file's bytes or from its text, numbering from 1;
// the failure's description, if it fails.
template <typename Source>
std::optional<QString> Read(clsFirma& firma, const Source& source)
{
    qint32 next = 0;
    try {
        firma.LoadFromXML(source, [&next] { return ++next; });
        return std::nullopt;
    } catch (const Failure& failure) {
        return failure.Description();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    clsFirma firma;
    const std::optional<QString> failure = Read(firma, bytes);
    clsFirma fromText;
    if (Read(fromText, DocumentFileText(bytes)) != failure)
        Fail("the bytes and their text failed differently", bytes.toByteArray());
    if (failure)
        return 0;

    const QByteArray saved = DocumentFileBytes(firma);
    if (DocumentFileBytes(fromText) != saved)
        Fail("the bytes and their text read differently", saved);
    clsFirma again;
    if (const std::optional<QString> failed = Read(again, QByteArrayView(saved)))
        Fail(qPrintable(*failed), saved);
    if (!HasAdresseColumn(firma) && DocumentFileBytes(again) != saved)
        Fail("saved again, the document changed", saved);
    return 0;
}
