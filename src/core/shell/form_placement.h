#pragma once

#include "core/platform/placement_window.h"
#include "core/platform/registry.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace norvale {

enum TPlacementOption : unsigned {
    fpState = 1u << 0,    // saving also keeps the show command
    fpPosition = 1u << 1, // the window's position is saved and restored
};
using TPlacementOptions = unsigned;

enum class TPlacementRegRoot {
    prCurrentUser,
    prLocalMachine,
    prCurrentConfig,
    prClassesRoot,
    prUsers,
    prDynData
};

// Keeps a window's placement, and whatever its owner adds in the two events, as registry
// strings in the section IniSection of the key IniFileName. The store is open only during a
// save, a restore or a single read or write.
class TFormPlacement {
public:
    TFormPlacement(Registry& registry, PlacementWindow& window);
    TFormPlacement(const TFormPlacement&) = delete;
    TFormPlacement& operator=(const TFormPlacement&) = delete;
    virtual ~TFormPlacement() = default;

    std::string IniFileName;
    std::string IniSection;
    // NOTE: only the registry is supported; a store with UseRegistry false refuses to open.
    bool UseRegistry = true;
    TPlacementRegRoot RegistryRoot = TPlacementRegRoot::prCurrentUser;
    TPlacementOptions Options = fpPosition;
    // An active store restores when its window is shown and saves when it closes or dies.
    bool Active = true;
    // A stored "FormVersion" below this skips the whole restore.
    int Version = 0;
    std::function<void(TFormPlacement&)> OnSavePlacement;
    std::function<void(TFormPlacement&)> OnRestorePlacement;

    void SaveState();
    void RestoreState();

    // One value of the section. Inside the two events the store is already open; elsewhere
    // each call opens it (read-only for reads) and closes it again.
    std::string ReadText(std::string_view name, std::string_view defaultText);
    void WriteText(std::string_view name, std::string_view text);
    // The default also stands for a text that is not a decimal integer.
    int ReadNumber(std::string_view name, int defaultValue);
    void WriteNumber(std::string_view name, int value);

    bool Restored() const { return FRestored; }
    // Whether the last restore put the window at a stored place; a first start has none,
    // whatever corner the window happens to stand at.
    bool PlacementRestored() const { return FPlacementRestored; }
    bool Saved() const { return FSaved; }
    bool Destroying() const { return FDestroying; }

    // The window's show, close-query and destroy events; they act only on an active store.
    void FormShow();
    void FormCloseQuery(bool canClose);
    void FormDestroy();

protected:
    virtual void SaveWindowState();
    virtual void RestoreWindowState();
    virtual std::string ReadSectionText(std::string_view section, std::string_view name,
                                        std::string_view defaultText);
    virtual void WriteSectionText(std::string_view section, std::string_view name,
                                  std::string_view text);

private:
    class OpenScope;

    norvale::RegistryRoot Root() const;
    std::string SectionPath(std::string_view section) const;
    void SavePlacement();
    void RestorePlacement();

    Registry& FRegistry;
    PlacementWindow& FWindow;
    std::unique_ptr<RegistryKey> FIniKey;
    bool FOpen = false;
    bool FReadOnly = false;
    bool FRestored = false;
    bool FPlacementRestored = false;
    bool FSaved = false;
    bool FDestroying = false;
};

} // namespace norvale
