#pragma once

#include <QtGlobal>

#include <functional>

// Where the reader takes record numbers from: each call returns the next
// one. Whoever fills a document hands in its counter; the document window
// hands in its NextID, which advances the active window's m_lngID.
using NextIDFunction = std::function<qint32()>;
