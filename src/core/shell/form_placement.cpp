#include "core/shell/form_placement.h"

#include "core/text/integer_text.h"

#include <array>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace norvale {
namespace {

constexpr std::string_view kMinMaxPos = "MinMaxPos";
constexpr std::string_view kNormPos = "NormPos";

using Fields = std::array<int, 4>;

std::string FieldsText(const Fields& f) {
    return std::to_string(f[0]) + "," + std::to_string(f[1]) + "," + std::to_string(f[2]) + "," +
           std::to_string(f[3]);
}

// Four integers separated by any run of blanks and commas; a missing or unreadable field
// keeps its default.
Fields ParseFields(std::string_view text, Fields fields) {
    const auto isSeparator = [](char c) { return c == ' ' || c == ','; };
    std::size_t i = 0;
    for (int& field : fields) {
        while (i < text.size() && isSeparator(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSeparator(text[i])) {
            ++i;
        }
        if (start < i) {
            field = ParseDecimalInteger(text.substr(start, i - start)).value_or(field);
        }
    }
    return fields;
}

} // namespace

// Opens the store for the lifetime of the scope unless it is open already.
class TFormPlacement::OpenScope {
public:
    OpenScope(TFormPlacement& store, bool readOnly) : FStore(store), FOwner(!store.FOpen) {
        if (!FOwner) {
            return;
        }
        if (!store.UseRegistry) {
            throw std::logic_error("Settings can only be kept in the registry");
        }
        // The store's key is always opened for writing and made if missing; a read-only
        // open lowers the access only for its section.
        store.FIniKey =
            store.FRegistry.OpenKey(store.Root(), store.IniFileName, true, RegistryAccess::Full);
        store.FReadOnly = readOnly;
        store.FOpen = true;
    }
    ~OpenScope() {
        if (FOwner) {
            FStore.FIniKey.reset();
            FStore.FOpen = false;
        }
    }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;

private:
    TFormPlacement& FStore;
    bool FOwner;
};

TFormPlacement::TFormPlacement(Registry& registry, PlacementWindow& window)
    : FRegistry(registry), FWindow(window) {}

norvale::RegistryRoot TFormPlacement::Root() const {
    switch (RegistryRoot) {
    case TPlacementRegRoot::prCurrentUser:
        return norvale::RegistryRoot::CurrentUser;
    case TPlacementRegRoot::prLocalMachine:
        return norvale::RegistryRoot::LocalMachine;
    case TPlacementRegRoot::prCurrentConfig:
        return norvale::RegistryRoot::CurrentConfig;
    case TPlacementRegRoot::prClassesRoot:
        return norvale::RegistryRoot::ClassesRoot;
    case TPlacementRegRoot::prUsers:
        return norvale::RegistryRoot::Users;
    case TPlacementRegRoot::prDynData:
        return norvale::RegistryRoot::DynData;
    }
    return norvale::RegistryRoot::CurrentUser;
}

std::string TFormPlacement::SectionPath(std::string_view section) const {
    return IniFileName + "\\" + std::string(section);
}

void TFormPlacement::SaveState() {
    // An active store never overwrites settings it has not read.
    if (Active && !FRestored) {
        return;
    }
    OpenScope open(*this, false);
    WriteNumber("FormVersion", Version);
    SaveWindowState();
    if (OnSavePlacement) {
        OnSavePlacement(*this);
    }
    FSaved = true;
}

void TFormPlacement::RestoreState() {
    FSaved = false;
    FPlacementRestored = false;
    OpenScope open(*this, true);
    if (ReadNumber("FormVersion", 0) >= Version) {
        RestoreWindowState();
        if (OnRestorePlacement) {
            OnRestorePlacement(*this);
        }
    }
    FRestored = true;
}

void TFormPlacement::SaveWindowState() {
    if ((Options & (fpState | fpPosition)) != 0) {
        SavePlacement();
    }
}

void TFormPlacement::RestoreWindowState() {
    if ((Options & fpPosition) != 0) {
        RestorePlacement();
    }
    FRestored = true;
}

void TFormPlacement::SavePlacement() {
    WINDOWPLACEMENT placement = FWindow.GetPlacement();
    if (FWindow.IsMainWindow() && FWindow.IsAppIconic()) {
        placement.showCmd = kShowMinimized;
    }
    const ScreenSize screen = FWindow.PrimaryScreenSize();
    const std::string suffix =
        "(" + std::to_string(screen.Width) + "x" + std::to_string(screen.Height) + ")";
    const std::string minMax = FieldsText({placement.ptMinPosition.x, placement.ptMinPosition.y,
                                           placement.ptMaxPosition.x, placement.ptMaxPosition.y});
    const RECT& r = placement.rcNormalPosition;
    const std::string normal = FieldsText({r.left, r.top, r.right, r.bottom});
    WriteNumber("Flags", static_cast<int>(placement.flags));
    WriteNumber("ShowCmd", static_cast<int>(placement.showCmd));
    WriteNumber("PixelsPerInch", FWindow.PixelsPerInch());
    WriteText(std::string(kMinMaxPos) + suffix, minMax);
    WriteText(kMinMaxPos, minMax);
    WriteText(std::string(kNormPos) + suffix, normal);
    WriteText(kNormPos, normal);
    WriteText("Visible", FDestroying ? "1" : "0");
}

void TFormPlacement::RestorePlacement() {
    WINDOWPLACEMENT placement = FWindow.GetPlacement();
    if (!FWindow.IsVisible()) {
        placement.showCmd = kShowHide; // restoring never shows a hidden window
    }
    placement.flags =
        static_cast<std::uint32_t>(ReadNumber("Flags", static_cast<int>(placement.flags)));
    const ScreenSize screen = FWindow.PrimaryScreenSize();
    const std::string suffix =
        "(" + std::to_string(screen.Width) + "x" + std::to_string(screen.Height) + ")";
    const auto readEither = [&](std::string_view name) {
        std::string text = ReadText(std::string(name) + suffix, "");
        return text.empty() ? ReadText(name, "") : text;
    };
    const std::string minMax = readEither(kMinMaxPos);
    const std::string normal = readEither(kNormPos);
    if (minMax.empty() && normal.empty()) {
        return;
    }
    // A size stored at another pixel density (the display scale changed since) would be
    // wrong now; the place is still the user's, in the screen's pixels, and is kept.
    const int pixelsPerInch = FWindow.PixelsPerInch();
    const bool otherDensity = ReadNumber("PixelsPerInch", pixelsPerInch) != pixelsPerInch;
    const Fields m = ParseFields(minMax, {0, 0, 0, 0});
    placement.ptMinPosition = {m[0], m[1]};
    placement.ptMaxPosition = {m[2], m[3]};
    const RECT bounds = FWindow.Bounds();
    const Fields n = ParseFields(normal, {bounds.left, bounds.top, bounds.right, bounds.bottom});
    RECT& r = placement.rcNormalPosition;
    r = {n[0], n[1], n[2], n[3]};
    if (!FWindow.IsSizeable() || otherDensity) {
        // The window keeps its size. A stored corner so far out that the window would end
        // past the coordinate range is no position any screen has.
        const std::int64_t right = std::int64_t{r.left} + RectWidth(bounds);
        const std::int64_t bottom = std::int64_t{r.top} + RectHeight(bounds);
        if (right > std::numeric_limits<int>::max() || bottom > std::numeric_limits<int>::max()) {
            return;
        }
        r.right = static_cast<int>(right);
        r.bottom = static_cast<int>(bottom);
    }
    if (r.left < r.right) {
        FWindow.UseDesignedPosition();
        FWindow.SetPlacement(placement);
        FPlacementRestored = true;
    }
}

std::string TFormPlacement::ReadSectionText(std::string_view section, std::string_view name,
                                            std::string_view defaultText) {
    const auto key = FRegistry.OpenKey(Root(), SectionPath(section), false,
                                       FReadOnly ? RegistryAccess::Read : RegistryAccess::Full);
    if (!key || !key->ValueExists(name)) {
        return std::string(defaultText);
    }
    try {
        return key->ReadString(name);
    } catch (const RegistryError&) {
        // A value of another type keeps the default for that value alone, so that one
        // tampered setting can neither stop the window's creation nor lose the others.
        return std::string(defaultText);
    }
}

void TFormPlacement::WriteSectionText(std::string_view section, std::string_view name,
                                      std::string_view text) {
    if (!FIniKey) {
        throw RegistryError("Failed to create key " + std::string(section));
    }
    FIniKey->CreateSubkey(section);
    const auto key = FRegistry.OpenKey(Root(), SectionPath(section), false,
                                       FReadOnly ? RegistryAccess::Read : RegistryAccess::Full);
    if (!key) {
        throw RegistryError("Failed to create key " + std::string(section));
    }
    key->WriteString(name, text);
}

std::string TFormPlacement::ReadText(std::string_view name, std::string_view defaultText) {
    OpenScope open(*this, true);
    return ReadSectionText(IniSection, name, defaultText);
}

void TFormPlacement::WriteText(std::string_view name, std::string_view text) {
    OpenScope open(*this, false);
    WriteSectionText(IniSection, name, text);
}

int TFormPlacement::ReadNumber(std::string_view name, int defaultValue) {
    return ParseDecimalInteger(ReadText(name, "")).value_or(defaultValue);
}

void TFormPlacement::WriteNumber(std::string_view name, int value) {
    WriteText(name, std::to_string(value));
}

void TFormPlacement::FormShow() {
    if (Active) {
        RestoreState();
    }
}

void TFormPlacement::FormCloseQuery(bool canClose) {
    if (Active && canClose) {
        SaveState();
    }
}

void TFormPlacement::FormDestroy() {
    if (!Active || FSaved) {
        return;
    }
    FDestroying = true;
    try {
        SaveState();
    } catch (...) {
        FDestroying = false;
        throw;
    }
    FDestroying = false;
}

} // namespace norvale
