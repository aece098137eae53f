#pragma once

#include "model/clsFirma.h"

// A realistic address document of count addresses, the same for every run:
// German names, streets and towns with umlauts and ß, the Windows-1252
// characters € „ “ –, "&", "<" and ">" in some values, empty columns, and
// about a quarter of the addresses nested one or two levels deep. Numbered
// in document order, as the reader numbers them.
FirmaRef GenerateDocument(int count);
