// Unicode text helpers that the toolkit needs without a text library: canonical composition and
// percent-decoding.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The text in normalisation form C (canonical decomposition, then canonical composition), so that a
// letter typed as base letter and combining mark compares equal to the precomposed letter. Bytes that are
// not well-formed UTF-8 are passed through unchanged, so no file name is ever lost.
std::string PrecomposedUtf8(std::string_view text);

// Replaces every "%hh" (two hexadecimal digits) with its byte; a "%" without two digits stays as it is.
std::string DecodePercentEscapes(std::string_view text);

}  // namespace vx
