#include "core/settings/ini_registry.h"
#include "core/settings/ini_text.h"
#include "support/fake_file_system.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace norvale;

const std::string kFile = "C:\\Clock\\NorvaleTimeClock.ini";

// Every tree the reader accepts is written and read back unchanged.
void CheckRoundTrip(std::string_view text) {
    KeyNode tree;
    try {
        tree = ReadIniText(text);
    } catch (const IniSyntaxError& error) {
        if (error.Line() < 1) {
            std::abort();
        }
        return;
    }
    const std::string written = WriteIniText(tree);
    if (!(ReadIniText(written) == tree) || WriteIniText(ReadIniText(written)) != written) {
        std::abort();
    }
}

// The registry kept in that file: a damaged file, and only a damaged one, is reported, once,
// and kept aside unchanged; afterwards the settings file holds the value saved.
void CheckRegistry(const std::string& text) {
    testing::FakeFileSystem files;
    files.Put(kFile, text);
    int reports = 0;
    IniRegistry registry(files, kFile, [&](const std::string&) { ++reports; });
    {
        const auto key =
            registry.OpenKey(RegistryRoot::CurrentUser, "Software\\Brannick\\NorvaleTimeClock",
                             true, RegistryAccess::Full);
        if (!key) {
            std::abort();
        }
        try {
            key->ReadString("TimeServer");
        } catch (const RegistryError&) {
            // a value of another type
        }
        key->WriteString("ClockSkin", "norvale");
    }
    bool damaged = false;
    try {
        ReadIniText(text);
    } catch (const IniSyntaxError&) {
        damaged = true;
    }
    if (reports != (damaged ? 1 : 0) ||
        (damaged && files.Files.at(DamagedFileName(kFile, 1)).Contents != text)) {
        std::abort();
    }
    const KeyNode tree = ReadIniText(files.Files.at(kFile).Contents);
    const KeyNode* software = tree.Subkey("Software");
    const KeyNode* brannick = software ? software->Subkey("Brannick") : nullptr;
    const KeyNode* clock = brannick ? brannick->Subkey("NorvaleTimeClock") : nullptr;
    const StoredValue* skin = clock ? clock->Value("ClockSkin") : nullptr;
    if (skin == nullptr || skin->Type != RegistryValueType::String || skin->Data != "norvale") {
        std::abort();
    }
}

} // namespace

// Any bytes as the settings file of portable mode.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(text);
    CheckRegistry(text);
    return 0;
}
