#pragma once

#include "core/platform/file_system.h"
#include "core/platform/registry.h"
#include "core/settings/ini_text.h"
#include "core/settings/key_tree.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// A registry kept in a settings file (see ini_text.h) instead of the system's registry; it
// holds the keys under HKEY_CURRENT_USER, and the other roots have no keys.
//
// The file is read when the first key is opened and written, through ReplaceFileContents,
// when the last one closes after a change; so one save of many values writes it once, and
// another program's changes made in between are seen. A file that cannot be read is reported
// once and never written. A damaged file is reported once, renamed to "<name>.damaged.<ext>"
// (or "<name>.damaged-2.<ext>" ... when that name is taken) and a new file is started; when
// it cannot be renamed it is left as it is and never written. A save that fails is reported
// once until a save succeeds again; the changes stay and are written with the next save.
class IniRegistry final : public Registry {
public:
    // `report` gets each of the messages above, as the text the user sees.
    IniRegistry(FileSystem& files, std::string path,
                std::function<void(const std::string&)> report);
    IniRegistry(const IniRegistry&) = delete;
    IniRegistry& operator=(const IniRegistry&) = delete;

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool createIfMissing, RegistryAccess access) override;

private:
    class Key;

    // The first key opens: the tree takes what the file holds now.
    void Refresh();
    // The last key has closed: a changed tree goes to the file.
    void Save();
    void SetAside(const IniSyntaxError& damage);
    void KeyClosed();
    void Changed() { FChanged = true; }
    // A deleted key: keys still open on it may write to it, to no effect, until they close.
    void KeepUntilClosed(KeyNode::DetachedKey key);

    FileSystem& FFiles;
    std::string FPath;
    std::function<void(const std::string&)> FReport;
    KeyNode FRoot;
    std::vector<KeyNode::DetachedKey> FDetached;
    std::string FFileText; // the file as last read or written
    int FOpenKeys = 0;
    bool FRead = false;   // the file has been read once
    bool FFrozen = false; // the file is never to be written
    bool FChanged = false;
    bool FSaveFailureReported = false;
};

// The name a damaged file is kept under: "<name>.damaged.<ext>" for attempt 1, then
// "<name>.damaged-<attempt>.<ext>".
std::string DamagedFileName(std::string_view path, int attempt);

} // namespace norvale
