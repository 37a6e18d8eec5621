#pragma once

#include <string>
#include <string_view>

namespace norvale {

// UTF-8 to UTF-16; a byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The bytes of an XML document as UTF-8 text, so that every reader sees the same characters
// and a position counts them alike: UTF-16 in either byte order (by its byte order mark or by
// the "<" its first character must be) is converted, a UTF-8 byte order mark dropped, and
// anything else passed on as it is.
std::string XmlTextAsUtf8(std::string_view bytes);

// The text with every control character (C0, DEL, C1) and every byte of an ill-formed
// sequence written as \xNN, so that text from outside cannot steer a terminal; with
// keepNewlines, '\n' stays a line break.
std::string EscapeControls(std::string_view text, bool keepNewlines = false);

// Whether every byte belongs to a well-formed UTF-8 sequence.
bool IsWellFormedUtf8(std::string_view text);

// The first `characters` characters of a UTF-8 text (all of it when shorter), counting each
// byte that does not continue a sequence as one, so no sequence is ever split.
std::string_view Utf8Prefix(std::string_view text, std::size_t characters);

} // namespace norvale
