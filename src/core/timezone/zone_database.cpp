#include "core/timezone/zone_database.h"

#include "core/text/ascii.h"
#include "core/text/integer_text.h"
#include "core/text/utf16.h"

#include <algorithm>

namespace norvale {
namespace {

// Removes every occurrence of pattern, ignoring the case of ASCII letters, scanning once.
std::string RemoveAllNoCase(std::string_view text, std::string_view pattern) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (EqualsNoCase(text.substr(i, pattern.size()), pattern)) {
            i += pattern.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

// A zone name cut to 31 UTF-16 units plus the terminating zero.
void CopyZoneName(std::string_view text, char16_t (&name)[32]) {
    const std::u16string wide = Utf8ToUtf16(text);
    const std::size_t length = std::min<std::size_t>(wide.size(), 31);
    std::copy_n(wide.begin(), length, name);
    name[length] = u'\0';
}

std::int32_t Int32At(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

SYSTEMTIME SystemTimeAt(const std::uint8_t* p) {
    std::uint16_t f[8];
    for (std::size_t i = 0; i < 8; ++i) {
        f[i] = static_cast<std::uint16_t>(p[2 * i] | p[2 * i + 1] << 8);
    }
    return SYSTEMTIME{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
}

} // namespace

std::string_view TimeZonesKeyPath(bool windowsNtFamily) {
    return windowsNtFamily ? "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"
                           : "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones";
}

void ReadTziRecord(const std::uint8_t (&tzi)[kTziSize], TIME_ZONE_INFORMATION& info) {
    info.Bias = Int32At(tzi);
    info.StandardBias = Int32At(tzi + 4);
    info.DaylightBias = Int32At(tzi + 8);
    info.StandardDate = SystemTimeAt(tzi + 12);
    info.DaylightDate = SystemTimeAt(tzi + 28);
}

int ZoneSortKey(std::string_view displayName) {
    const std::string s =
        RemoveAllNoCase(RemoveAllNoCase(RemoveAllNoCase(displayName, "(GMT"), "(UTC"), ":");
    const std::size_t close = s.find(')');
    const std::size_t p = close == std::string::npos ? 0 : close + 1; // 1-based, 0 for none
    const long long number =
        p == 0 ? 0 : ParseDecimalInteger(std::string_view(s).substr(0, p - 1)).value_or(0);
    // The character after ")" and the blank that follows it (1-based position p + 2).
    const long long c = p + 1 < s.size() ? static_cast<unsigned char>(s[p + 1]) : 0;
    // NOTE: wraps like the 32-bit arithmetic the keys have always been computed with.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number + c));
}

int CompareZones(const TVeskRegistryTimeZone& a, const TVeskRegistryTimeZone& b) {
    const int ka = ZoneSortKey(a.DisplayName);
    const int kb = ZoneSortKey(b.DisplayName);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

void SortZones(std::vector<std::unique_ptr<TVeskRegistryTimeZone>>& zones) {
    const auto sort = [&zones](auto& self, int left, int right) -> void {
        int i = left;
        do {
            i = left;
            int j = right;
            // The pivot is the record, not the position: it may move while the pass swaps.
            const TVeskRegistryTimeZone* pivot =
                zones[static_cast<std::size_t>((left + right) / 2)].get();
            do {
                while (CompareZones(*zones[static_cast<std::size_t>(i)], *pivot) < 0) {
                    ++i;
                }
                while (CompareZones(*zones[static_cast<std::size_t>(j)], *pivot) > 0) {
                    --j;
                }
                if (i <= j) {
                    std::swap(zones[static_cast<std::size_t>(i)],
                              zones[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (left < j) {
                self(self, left, j);
            }
            left = i;
        } while (i < right);
    };
    if (!zones.empty()) {
        sort(sort, 0, static_cast<int>(zones.size()) - 1);
    }
}

TVeskRegistryTimeZones::TVeskRegistryTimeZones(Registry& registry, bool windowsNtFamily) {
    Load(registry, TimeZonesKeyPath(windowsNtFamily));
}

void TVeskRegistryTimeZones::Load(Registry& registry, std::string_view databasePath) {
    FZones.clear();
    if (const auto database = registry.OpenKey(RegistryRoot::LocalMachine, databasePath, false,
                                               RegistryAccess::Read)) {
        for (const std::string& name : database->SubkeyNames()) {
            const auto key = registry.OpenKey(RegistryRoot::LocalMachine,
                                              std::string(databasePath) + "\\" + name, false,
                                              RegistryAccess::Read);
            if (!key || key->ValueSize("TZI") != static_cast<long long>(kTziSize)) {
                continue;
            }
            auto zone = std::make_unique<TVeskRegistryTimeZone>();
            zone->Id = name;
            try {
                zone->DisplayName = key->ReadString("Display");
                CopyZoneName(key->ReadString("Std"), zone->Info.StandardName);
                CopyZoneName(key->ReadString("Dlt"), zone->Info.DaylightName);
                std::uint8_t tzi[kTziSize];
                key->ReadBinary("TZI", tzi);
                ReadTziRecord(tzi, zone->Info);
            } catch (const RegistryError&) {
                continue; // a name that is not text or a "TZI" that is not binary
            }
            FZones.push_back(std::move(zone));
        }
    }
    SortZones(FZones);
}

bool TVeskRegistryTimeZones::GetZoneInfo(int index, std::string& id, std::string& displayName,
                                         TIME_ZONE_INFORMATION& info) const {
    if (index < 0 || index >= ZoneCount()) {
        return false;
    }
    const TVeskRegistryTimeZone& zone = ZoneAt(index);
    id = zone.Id;
    displayName = zone.DisplayName;
    info = zone.Info;
    return true;
}

int TVeskRegistryTimeZones::IndexOfZoneId(std::string_view id) const {
    for (int i = 0; i < ZoneCount(); ++i) {
        if (ZoneAt(i).Id == id) {
            return i;
        }
    }
    return -1;
}

} // namespace norvale
