// Feeds arbitrary bytes to the document reader. Whatever it reads must save,
// and what it saves must read back and save to the same bytes again.
#include "model/DocumentFile.h"
#include "model/Failure.h"
#include "model/NextID.h"
#include "model/clsFirma.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

qint32 g_lngID = 0;

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
    std::fprintf(stderr, "%s\n--- saved document ---\n%s\n", what, bytes.constData());
    std::abort();
}

}

// The window's record counter, without a window.
qint32 NextID()
{
    if (g_lngID == std::numeric_limits<qint32>::max())
        throw Failure::Overflow();
    return ++g_lngID;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    g_lngID = 0;
    clsFirma firma;
    try {
        firma.LoadFromXML(DocumentFileText(QByteArrayView(data, qsizetype(size))));
    } catch (const Failure&) {
        return 0;
    }

    const QByteArray saved = DocumentFileBytes(firma);
    g_lngID = 0;
    clsFirma again;
    try {
        again.LoadFromXML(DocumentFileText(saved));
    } catch (const Failure& failure) {
        Fail(failure.what(), saved);
    }
    if (!HasAdresseColumn(firma) && DocumentFileBytes(again) != saved)
        Fail("saved again, the document changed", saved);
    return 0;
}
