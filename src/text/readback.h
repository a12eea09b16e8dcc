// Reading the text screen back: the characters of every cell, independent of how the glyphs look.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vxtools/text.h"

// Cuts bytes at every separator (dropped); a separator at the very end starts no further piece.
std::vector<std::string> SplitBytes(std::string_view bytes, std::uint8_t separator);
// The pieces with one separator between each two.
std::string JoinBytes(const std::vector<std::string>& pieces, std::uint8_t separator);
