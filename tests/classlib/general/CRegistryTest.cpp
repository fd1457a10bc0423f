// Tests of CRegistry: strings, 32-bit and binary values with their defaults,
// reading values of another type, deleting values and keys, and the user's
// store under XDG_CONFIG_HOME.
#include "classlib/general/CRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace quorvantell;
using velloran::test::Exists;
using velloran::test::TempDir;

namespace {

constexpr auto HKCU = eRegBaseKey::HKCU;
const std::string kOptions = "Software\\Quorvantell\\Velloran\\e\\Options";

class CRegistryTest : public testing::Test {
protected:
    TempDir dir{"registry"};
    SettingsStore store{dir / "settings.db"};
    CRegistry reg{store};
};

}  // namespace

TEST_F(CRegistryTest, StringsRoundTripAndFallBackToTheDefault)
{
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "OLogFile", "none"), "none");  // no key
    reg.SetKeyStr(HKCU, kOptions, "OLogFile", "/home/u/velloran.log");
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "OLogFile", "none"), "/home/u/velloran.log");
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "lastLogDir", "none"), "none");  // key, no value
    reg.SetKeyStr(HKCU, kOptions, "ConsoleFont", "");
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "ConsoleFont", "none"), "");  // empty is a value
    reg.SetKeyStr(HKCU, kOptions, "OthFont", "Dévà Sans ✓");
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "OthFont"), "Dévà Sans ✓");

    // Stored as the bytes of the text, typed REG_SZ, without a NUL.
    const auto raw = store.GetValue(HKCU, kOptions, "OLogFile");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, REG_SZ);
    EXPECT_EQ(raw->data.size(), std::string("/home/u/velloran.log").size());
}

TEST_F(CRegistryTest, StringsAroundTheFirstReadBufferComeBackWhole)
{
    for (const size_t length : {63u, 64u, 65u, 128u, 129u, 5000u}) {
        const std::string text(length, static_cast<char>('a' + length % 26));
        reg.SetKeyStr(HKCU, kOptions, "Long", text);
        EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "Long"), text) << length;
    }
}

TEST_F(CRegistryTest, StringReadsTakeAnyTypeAndStopAtTheFirstNul)
{
    const char bytes[] = {'a', 'b', '\0', 'c'};
    reg.SetKeyBinary(HKCU, kOptions, "Bin", bytes, sizeof bytes);
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "Bin", "default"), "ab");
    reg.SetKeyWord(HKCU, kOptions, "Word", 0x00434241);
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "Word", "default"), "ABC");
    reg.SetKeyStr(HKCU, kOptions, "Embedded", std::string("x\0y", 3));
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "Embedded"), "x");
}

TEST_F(CRegistryTest, WordsReadAnythingThatFitsInFourBytes)
{
    EXPECT_EQ(reg.GetKeyWord(HKCU, kOptions, "n", 42), 42);
    reg.SetKeyWord(HKCU, kOptions, "n", -5);
    EXPECT_EQ(reg.GetKeyWord(HKCU, kOptions, "n", 42), -5);
    const auto raw = store.GetValue(HKCU, kOptions, "n");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, REG_DWORD);
    EXPECT_EQ(raw->data, (std::vector<uint8_t>{0xFB, 0xFF, 0xFF, 0xFF}));

    reg.SetKeyStr(HKCU, kOptions, "s2", "AB");
    EXPECT_EQ(reg.GetKeyWord(HKCU, kOptions, "s2", 42), 0x4241);  // little-endian, zero-extended
    reg.SetKeyStr(HKCU, kOptions, "s5", "12345");
    EXPECT_EQ(reg.GetKeyWord(HKCU, kOptions, "s5", 42), 42);  // too long
    const uint8_t four[] = {1, 2, 3, 4};
    reg.SetKeyBinary(HKCU, kOptions, "b4", four, 4);
    EXPECT_EQ(reg.GetKeyWord(HKCU, kOptions, "b4", 42), 0x04030201);
}

TEST_F(CRegistryTest, BinaryReadsNeedTheExactSize)
{
    std::array<uint8_t, 153> record{};
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<uint8_t>(i);
    for (const uint32_t stored : {151u, 152u, 153u}) {
        reg.SetKeyBinary(HKCU, kOptions, "Options", record.data(), stored);
        std::array<uint8_t, 152> buffer;
        buffer.fill(0xEE);
        const bool ok = reg.GetKeyBinary(HKCU, kOptions, "Options", buffer.data(), 152);
        EXPECT_EQ(ok, stored == 152) << stored;
        if (ok)
            EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), record.begin()));
        else
            EXPECT_EQ(buffer[0], 0xEE);  // untouched
    }
    EXPECT_EQ(store.GetValue(HKCU, kOptions, "Options")->type, REG_BINARY);
    uint8_t one = 0;
    EXPECT_FALSE(reg.GetKeyBinary(HKCU, kOptions, "Missing", &one, 1));
}

TEST_F(CRegistryTest, DeletingValuesAndKeys)
{
    const std::string sites = "Software\\Quorvantell\\Velloran\\e\\Sites\\";
    reg.SetKeyWord(HKCU, sites, "", 1);
    reg.SetKeyStr(HKCU, sites + "1", "Server", "ftp.example");
    reg.SetKeyStr(HKCU, sites + "1", "0FTPDir", "/pub");
    reg.SetKeyStr(HKCU, kOptions, "OLogFile", "kept");

    reg.DeleteValue(HKCU, sites + "1", "0FTPDir");
    EXPECT_EQ(reg.GetKeyStr(HKCU, sites + "1", "0FTPDir", "gone"), "gone");
    EXPECT_EQ(reg.GetKeyStr(HKCU, sites + "1", "Server"), "ftp.example");

    reg.DeleteKey(HKCU, sites);
    EXPECT_EQ(reg.GetKeyWord(HKCU, sites, "", 0), 0);
    EXPECT_EQ(reg.GetKeyStr(HKCU, sites + "1", "Server", "gone"), "gone");
    EXPECT_FALSE(store.KeyExists(HKCU, sites + "1"));
    EXPECT_EQ(reg.GetKeyStr(HKCU, kOptions, "OLogFile"), "kept");
}

TEST(CRegistry, UsesTheUsersStoreUnderXdgConfigHome)
{
    CRegistry reg;
    reg.SetKeyStr(HKCU, "Software\\Quorvantell\\Velloran\\e", "Instances", "/tmp/job.velloran");
    EXPECT_EQ(reg.GetKeyStr(HKCU, "Software\\Quorvantell\\Velloran\\e", "Instances"), "/tmp/job.velloran");
    const std::string expected = std::string(std::getenv("XDG_CONFIG_HOME")) + "/velloran/settings.db";
    EXPECT_EQ(SettingsStore::User().Path(), expected);
    EXPECT_TRUE(Exists(expected));
}
