#pragma once

#include <QtGlobal>

// The next record number of the active document window: advances its
// counter m_lngID and returns the new value. Throws Failure::MissingObject
// without an active document window and Failure::Overflow past the largest
// 32-bit value.
qint32 NextID();
