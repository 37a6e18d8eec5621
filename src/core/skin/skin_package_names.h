#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The rules a skin package's entry names follow, apart from the zip format.
namespace norvale::package {

// What is wrong with one entry; the reader puts the package and the entry's name in front.
class EntryFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A name with its ASCII letters in lower case, as Windows compares file names (near enough).
std::string FoldedName(std::string_view name);

// Whether a file is a text a package may carry: a licence or a read-me, .txt or .md.
bool IsTextFile(std::string_view name);

// An entry's name: the skin's folder and the path below it.
struct EntryName {
    std::string Skin;
    std::string Path; // '/' between the names; empty for the skin's folder itself
    bool Folder = false;
};

// Splits a name from the zip's directory (UTF-8 checked already). Throws EntryFault for
// absolute names, "..", "." and empty parts, '\', the names NameFault refuses, a file outside
// the skin's folder, a skin name or a path longer than their limits.
EntryName SplitEntryName(std::string_view name);

// The most bytes a file at this path below the skin's folder may hold, or nullopt for a kind
// of file no skin uses: skin.xml at the top, PNG images anywhere, TrueType and OpenType fonts
// in fonts, texts (.txt, .md: licences, read-me files) anywhere.
std::optional<std::uint64_t> MaxFileBytes(std::string_view path);

// The names seen so far, told apart as Windows does (without regard to case), so that no two
// entries land on one file and no file stands where a folder is.
class EntryNames {
public:
    // The fault of an entry that clashes with one seen before, or nullopt after taking it.
    std::optional<std::string> Add(const EntryName& entry);
    // The folders below the skin's, each after its parent, in the order they were seen.
    const std::vector<std::string>& Folders() const { return FFolders; }

private:
    std::optional<std::string> AddFolder(const std::string& path);

    std::map<std::string, bool> FSeen; // folded path -> is a folder
    std::vector<std::string> FFolders;
};

} // namespace norvale::package
