// Small conversions between the toolkit's byte strings and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vxtools/core.h"

namespace vx {

// Appends one Unicode scalar as UTF-8.
void AppendUtf8(std::string& out, char32_t scalar);
// The Unicode scalar at text[i], with i moved past it; a malformed byte stands for U+FFFD and is
// passed over alone.
char32_t NextUtf8Scalar(std::string_view text, std::size_t& i);
// Splits UTF-8 text into Unicode scalars; a malformed byte stands for U+FFFD.
std::vector<char32_t> Utf8Scalars(std::string_view text);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace vx
