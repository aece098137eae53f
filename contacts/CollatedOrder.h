#pragma once

#include "model/PackedTexts.h"

#include <vector>

// The order in which QCollator, in the user's language and ignoring case,
// sorts the texts: their places, first to last. Texts that compare equal
// keep the order they are given in.
std::vector<size_t> CollatedOrder(const std::vector<TextSlice>& texts, bool descending);
