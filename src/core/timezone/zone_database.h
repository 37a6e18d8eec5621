#pragma once

#include "core/platform/registry.h"
#include "core/platform/win_types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// The size of the "TZI" rule record of a zone key.
inline constexpr std::size_t kTziSize = 44;

// One zone of the system's database.
struct TVeskRegistryTimeZone {
    std::string Id;          // the zone's key name
    std::string DisplayName; // "(UTC+01:00) Amsterdam, ..."
    TIME_ZONE_INFORMATION Info;
};

// Where the zone database lies below HKEY_LOCAL_MACHINE.
std::string_view TimeZonesKeyPath(bool windowsNtFamily);

// The 44-byte little-endian "TZI" record moved into its places in the structure; the names
// are left as they are.
void ReadTziRecord(const std::uint8_t (&tzi)[kTziSize], TIME_ZONE_INFORMATION& info);

// The offset of a display name run together as HHMM, plus the code of the first letter of
// its place names: "(UTC-05:00) Eastern ..." gives -500 + 'E'.
int ZoneSortKey(std::string_view displayName);
int CompareZones(const TVeskRegistryTimeZone& a, const TVeskRegistryTimeZone& b);

// The zone list's quicksort. It is not stable, and the order it leaves among zones of equal
// key is part of its contract: the selected zone is stored as a list position.
void SortZones(std::vector<std::unique_ptr<TVeskRegistryTimeZone>>& zones);

// The system's zones, read once and sorted; positions in it are what the clock stores.
class TVeskRegistryTimeZones {
public:
    // Reads the database below HKEY_LOCAL_MACHINE; an unreadable database gives no zones.
    TVeskRegistryTimeZones(Registry& registry, bool windowsNtFamily);

    int ZoneCount() const { return static_cast<int>(FZones.size()); }
    // index from 0 to ZoneCount() - 1.
    const TVeskRegistryTimeZone& ZoneAt(int index) const {
        return *FZones[static_cast<std::size_t>(index)];
    }
    // Copies the zone at index out; false, outputs untouched, for an index outside the list.
    bool GetZoneInfo(int index, std::string& id, std::string& displayName,
                     TIME_ZONE_INFORMATION& info) const;
    // The first position whose id equals id exactly, or -1.
    int IndexOfZoneId(std::string_view id) const;

private:
    void Load(Registry& registry, std::string_view databasePath);

    std::vector<std::unique_ptr<TVeskRegistryTimeZone>> FZones;
};

} // namespace norvale
