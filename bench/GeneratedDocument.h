#pragma once

#include "model/clsFirma.h"

// How the addresses of a generated document hang together.
enum class DocumentShape {
    Realistic, // about a quarter nested one or two levels deep
    Flat,      // all of them top-level
    Nested,    // groups of 100: a top-level address with 99 beneath it
};

// An address document of count addresses, the same for every run: German
// names, streets and towns with umlauts and ß, the Windows-1252 characters
// € „ “ –, "&", "<" and ">" in some values, and empty columns. Numbered in
// document order, as the reader numbers them. The flat and the nested
// shape hold the same addresses in the same order, so their files are of
// the same size.
FirmaRef GenerateDocument(int count, DocumentShape shape = DocumentShape::Realistic);
