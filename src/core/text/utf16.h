#pragma once

#include <string>
#include <string_view>

namespace norvale {

// UTF-8 to UTF-16; a byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Whether every byte belongs to a well-formed UTF-8 sequence.
bool IsWellFormedUtf8(std::string_view text);

// The first `characters` characters of a UTF-8 text (all of it when shorter), counting each
// byte that does not continue a sequence as one, so no sequence is ever split.
std::string_view Utf8Prefix(std::string_view text, std::size_t characters);

} // namespace norvale
