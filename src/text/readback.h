// Reading the text screen back: the characters of every cell, independent of how the glyphs look.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The window's text, line after line, each followed by `separator`. With an empty separator the raw
// grid; otherwise tidied: pieces cut at carriage returns, trailing spaces and blank bottom lines
// dropped, joined with carriage returns.
std::string t_GetScreen(std::uint8_t window, std::string_view separator);
// Cuts bytes at every separator (dropped); a separator at the very end starts no further piece.
std::vector<std::string> SplitBytes(std::string_view bytes, std::uint8_t separator);
// The pieces with one separator between each two.
std::string JoinBytes(const std::vector<std::string>& pieces, std::uint8_t separator);
