#pragma once

#include "core/settings/key_tree.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace norvale {

// A settings file that does not follow the format; what() names the line and the fault.
class IniSyntaxError : public std::runtime_error {
public:
    IniSyntaxError(int line, const std::string& fault);
    int Line() const { return FLine; }

private:
    int FLine;
};

// The settings file's format. Each section is a key, named by its path below
// HKEY_CURRENT_USER ("[Software\Brannick\NorvaleTimeClock]"), and holds that key's values,
// one a line:
//   Name="text"           a string; \\ \" \n \r \t \0 and \xHH stand for their bytes
//   Name=text             a string as well, without the blanks around it (for hand edits)
//   Name=expand:"%PATH%"  an expandable string
//   Name=dword:0000002a   a 32-bit integer, in hexadecimal
//   Name=hex:f0,0e,3c     binary bytes
// A name with blanks at its ends or with "=", a quote or a control character in it is
// quoted. Lines starting with ";" or "#" are comments; a key without values is a section of
// its own only when it has no subkeys. The file is UTF-8, with or without a byte-order mark;
// anything else in it (a stray line, a control character, a broken quote) makes the whole
// file unreadable.

// The tree the text describes (its root is HKEY_CURRENT_USER); throws IniSyntaxError.
KeyNode ReadIniText(std::string_view text);
// The text of the tree, with lines ending in CR LF; reading it gives the same tree (a value of
// a type other than those above is written, and read back, as binary).
std::string WriteIniText(const KeyNode& root);

} // namespace norvale
