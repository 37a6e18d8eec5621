#include "core/settings/ini_text.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

const StoredValue* ValueAt(KeyNode& root, std::string_view path, std::string_view name) {
    KeyNode* node = &root;
    const auto keys = SplitKeyPath(path).value();
    for (const std::string_view key : keys) {
        node = node->Subkey(key);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node->Value(name);
}

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) {
        out += static_cast<char>(b);
    }
    return out;
}

TEST(IniText, ReadsEveryKindOfValue) {
    KeyNode root =
        ReadIniText("\xEF\xBB\xBF; a comment\n"
                    "# another\r\n"
                    "\n"
                    "  [Software\\Brannick\\NorvaleTimeClock]  \r\n"
                    "Quoted = \" two  blanks \\\"q\\\" \\\\ \\n\\r\\t\\0\\x7f\\xC3\\xBC\"\r\n"
                    "Bare =  pool.ntp.org:123  \r\n"
                    "Empty=\r\n"
                    "Path=EXPAND:\"%PATH%\"\n"
                    "Count=dword:0000002A\r\n"
                    "Small=dword:f\r\n"
                    "TZI=hex:f0, 0e ,3c\r\n"
                    "None=hex:\r\n"
                    "\"a=b \"=\"quoted name\"\r\n"
                    "Z\xC3\xBCrich=\xE6\x9D\xB1\r\n");
    const std::string path = "software\\brannick\\norvaletimeclock";
    using T = RegistryValueType;
    const auto expect = [&](std::string_view name, T type, const std::string& data) {
        const StoredValue* value = ValueAt(root, path, name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->Type, type) << name;
        EXPECT_EQ(value->Data, data) << name;
    };
    expect("Quoted", T::String, std::string(" two  blanks \"q\" \\ \n\r\t\0\x7f\xC3\xBC", 26));
    expect("Bare", T::String, "pool.ntp.org:123");
    expect("Empty", T::String, "");
    expect("Path", T::ExpandString, "%PATH%");
    expect("Count", T::Integer, Bytes({0x2A, 0, 0, 0}));
    expect("Small", T::Integer, Bytes({0x0F, 0, 0, 0}));
    expect("TZI", T::Binary, Bytes({0xF0, 0x0E, 0x3C}));
    expect("None", T::Binary, "");
    expect("a=b ", T::String, "quoted name");
    expect("z\xC3\xBCrich", T::String, "\xE6\x9D\xB1");
}

TEST(IniText, SectionsOfOneKeyInAnyCaseMergeAndALaterValueWins) {
    KeyNode root = ReadIniText("[A\\B]\nx=1\n[a\\b]\nX=2\ny=3\n[]\nAtRoot=4\n[C]\n");
    ASSERT_NE(root.Subkey("A"), nullptr);
    EXPECT_EQ(root.Subkey("A")->Subkeys().size(), 1u);
    EXPECT_EQ(ValueAt(root, "A\\B", "x")->Data, "2");
    EXPECT_EQ(ValueAt(root, "A\\B", "x")->Name, "x"); // the first spelling stays
    EXPECT_EQ(ValueAt(root, "A\\B", "y")->Data, "3");
    EXPECT_EQ(root.Value("AtRoot")->Data, "4");
    ASSERT_NE(root.Subkey("C"), nullptr); // a key without values
    EXPECT_TRUE(root.Subkey("C")->Values().empty());
}

TEST(IniText, WritesKeysInRegistryOrderAndValuesInTheirOwn) {
    KeyNode root;
    KeyNode& clock = root.MakeSubkey("Software").MakeSubkey("Brannick").MakeSubkey("Clock");
    clock.SetValue("Mode", RegistryValueType::String, "3");
    clock.SetValue("Count", RegistryValueType::Integer, Bytes({1, 2, 3, 4}));
    clock.SetValue("TZI", RegistryValueType::Binary, Bytes({0xF0, 0x0E}));
    clock.SetValue("Path", RegistryValueType::ExpandString, "%TEMP%");
    root.MakeSubkey("Software").MakeSubkey("Brannick").MakeSubkey("Empty");
    root.MakeSubkey("Software").MakeSubkey("Alpha").SetValue("", RegistryValueType::String, "x");
    EXPECT_EQ(WriteIniText(root),
              "; Norvale Time Clock keeps its settings in this file while it stands beside the "
              "program.\r\n"
              "; Each section is a registry key below HKEY_CURRENT_USER. Comments are not "
              "kept.\r\n"
              "\r\n"
              "[Software\\Alpha]\r\n"
              "\"\"=\"x\"\r\n"
              "\r\n"
              "[Software\\Brannick\\Clock]\r\n"
              "Mode=\"3\"\r\n"
              "Count=dword:04030201\r\n"
              "TZI=hex:f0,0e\r\n"
              "Path=expand:\"%TEMP%\"\r\n"
              "\r\n"
              "[Software\\Brannick\\Empty]\r\n");
}

TEST(IniText, AwkwardNamesAndEveryByteComeBackAsWritten) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    KeyNode root;
    KeyNode& key = root.MakeSubkey("K ]x[").MakeSubkey("\xE6\x9D\xB1");
    const std::string names[] = {"",
                                 " lead",
                                 "trail ",
                                 "a=b",
                                 "q\"q",
                                 "[bracket",
                                 ";semi",
                                 "#hash",
                                 std::string("z\0\x01", 3),
                                 "back\\slash",
                                 "half \xC3",
                                 "\x81"};
    for (const std::string& name : names) {
        key.SetValue(name, RegistryValueType::String, "v" + name);
    }
    key.SetValue("Text", RegistryValueType::String, std::string("before\0after\x1b\xC3\xBC", 15));
    key.SetValue("Blob", RegistryValueType::Binary, everyByte);
    // A text that is no UTF-8, as an escape can make one.
    key.SetValue("Bytes", RegistryValueType::ExpandString, everyByte);
    key.SetValue("Max", RegistryValueType::Integer, Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    const std::string text = WriteIniText(root);
    const KeyNode read = ReadIniText(text);
    EXPECT_EQ(read, root) << text;
    EXPECT_EQ(WriteIniText(read), text);
}

// Each of these makes the file unreadable, at the line named.
TEST(IniText, ADamagedFileIsRefusedWithTheLineOfTheFault) {
    using namespace std::string_literals;
    const struct {
        std::string Text;
        int Line;
    } cases[] = {
        {"[A]\nstray words\n", 2},
        {"x=1\n[A]\n", 1},
        {"[A]\nx=\"open\n", 2},
        {"[A]\nx=\"bad \\q escape\"\n", 2},
        {"[A]\nx=\"after\" more\n", 2},
        {"[A]\nx=dword:123456789\n", 2},
        {"[A]\nx=dword:12g\n", 2},
        {"[A]\nx=dword:\n", 2},
        {"[A]\nx=hex:f0,0\n", 2},
        {"[A]\nx=hex:f0 0e\n", 2},
        {"[A]\nx=hex:f0,\n", 2},
        {"[A]\nx=expand:%PATH%\n", 2},
        {"[A\n", 1},
        {"[A\\\\B]\n", 1},
        {"[A]\n=nameless\n", 2},
        {"[A]\n\"q\" x=1\n", 2},
        {"[A]\n\n\nx=1\x01\n", 4},
        {"[A]\nx=\"\xC3\"\n", 2},
        // A file that a crash filled with zeros.
        {"[A]\r\nx=1\r\n\0\0\0\0"s, 3},
    };
    for (const auto& c : cases) {
        try {
            ReadIniText(c.Text);
            ADD_FAILURE() << "read: " << c.Text;
        } catch (const IniSyntaxError& error) {
            EXPECT_EQ(error.Line(), c.Line) << c.Text << ": " << error.what();
            EXPECT_TRUE(std::string(error.what()).starts_with("line " + std::to_string(c.Line)))
                << error.what();
        }
    }
}

TEST(IniText, AnEmptyFileIsAnEmptyTree) {
    EXPECT_EQ(ReadIniText(""), KeyNode());
    EXPECT_EQ(ReadIniText("\xEF\xBB\xBF\r\n; only a comment\r\n"), KeyNode());
    EXPECT_EQ(ReadIniText(WriteIniText(KeyNode())), KeyNode());
}

} // namespace
} // namespace norvale
