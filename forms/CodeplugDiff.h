#pragma once
// The differences between two codeplugs in words: one line per differing field
// ("Digital channel 3: receive frequency 438.500000 → 439.112500 MHz"), records added or removed
// with the counts, and bytes no field names by their file offsets.
#include <string>
#include <vector>

#include "codeplug/Codeplug.h"

std::vector<std::string> DiffCodeplugs(const Codeplug& a, const Codeplug& b);
