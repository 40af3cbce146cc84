// Value formats of the settings file: defaults, numbers as users may have typed them, flags and
// text cut to its buffer.
#include <gtest/gtest.h>

#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "settings/IniText.h"
#include "support/TempFolder.h"

namespace {

TEST(SettingsFileTest, FileTypesDefaultDependsOnReader) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    EXPECT_EQ(file.ReadText(settings::kMainViewFileTypes), L"mp3;");
    EXPECT_EQ(file.ReadText(settings::kFileTypes), L"");

    std::wstring many;
    for (int i = 0; i < 300; ++i) many += L"ext;";  // 1200 characters
    file.WriteText(settings::kFileTypes, many);
    EXPECT_EQ(file.ReadText(settings::kFileTypes), many);
    EXPECT_EQ(file.ReadText(settings::kMainViewFileTypes), many.substr(0, 1023));
}

struct StoredNumber {
    const char* stored;
    int expected;
};

TEST(SettingsFileTest, IntegersReadAsTyped) {
    const StoredNumber cases[] = {
        {"-3010", -3010}, {"42", 42}, {"abc", 0}, {"12px", 12}, {" 7", 7}, {"+5", 5}, {"0", 0},
    };
    for (const StoredNumber& c : cases) {
        TempFolder folder;
        std::wstring path = folder.File(L"gen_cv.ini");
        WriteBytes(path, std::string("[Window]\r\nDivider=") + c.stored + "\r\n");
        EXPECT_EQ(SettingsFile(path).ReadInt(settings::kWindowDivider), c.expected) << c.stored;
    }
}

TEST(SettingsFileTest, AnyNonZeroFlagIsSetAndWritesBackAsOne) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, "[General]\r\nShow delete=7\r\nLimit search=-1\r\nBlock duplicates=no\r\n");
    SettingsFile file(path);
    bool showDelete = file.ReadFlag(settings::kShowDelete);
    EXPECT_TRUE(showDelete);
    EXPECT_TRUE(file.ReadFlag(settings::kLimitSearch));
    EXPECT_FALSE(file.ReadFlag(settings::kBlockDuplicates));

    file.WriteFlag(settings::kShowDelete, showDelete);
    EXPECT_EQ(StoredValue(path, "General", "Show delete"), "1");
}

TEST(SettingsFileTest, LongTextIsCutToItsBuffer) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    std::wstring longText(400, L'x');
    file.WriteText(settings::kLastSearch, longText);
    file.WriteText(settings::kFontName, longText);
    EXPECT_EQ(file.ReadText(settings::kLastSearch), std::wstring(254, L'x'));
    EXPECT_EQ(file.ReadText(settings::kFontName), std::wstring(254, L'x'));
}

}  // namespace
