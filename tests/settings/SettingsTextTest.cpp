// Settings text from every script: names that the system's code page cannot hold come back as
// they were written, and a file written by earlier versions in that code page keeps every line
// when it is turned into UTF-16 for them.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/Text.h"
#include "settings/IniText.h"
#include "settings/MainViewOptions.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "support/TempFolder.h"

namespace {

const wchar_t kName[] = L"Bj\u00f6rk \u65e5\u672c \uff37\uff45";

std::string InCodePage(const std::wstring& text) {
    char bytes[256] = {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, n > 0 ? n - 1 : 0);
}

std::wstring Profile(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"<absent>", value, 512, path.c_str());
    return value;
}

TEST(SettingsTextTest, NamesBeyondTheCodePageComeBackAndTheOldFileKeepsEveryLine) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    // As an earlier version left it: 8-bit, with a name the code page does hold.
    std::string old = "; kept by hand\r\n[General]\r\nFile types=mp3;flac;\r\nLanguage=" + InCodePage(L"C:\\Caf\u00e9.dll") +
                      "\r\nRemember search=1\r\n[Window]\r\nDivider=250\r\n[Custom]\r\nKey=" + InCodePage(L"Caf\u00e9") + "\r\n";
    WriteBytes(path, old);
    SettingsFile file(path);

    EXPECT_TRUE(file.WriteInt(settings::kSort, 2));
    EXPECT_EQ(ReadBytes(path).substr(0, 2), "; ") << "a value the code page holds keeps the file 8-bit";

    const std::wstring folderPath = std::wstring(L"D:\\Music\\") + kName;
    const struct {
        const SettingKey& key;
        std::wstring value;
    } texts[] = {{settings::kLastSearch, kName},
                 {settings::kTreeFolder, folderPath},
                 {settings::kLanguage, folderPath + L"\\" + kName + L".dll"},
                 {settings::kFontName, kName}};
    for (const auto& text : texts) ASSERT_TRUE(file.WriteText(text.key, text.value)) << text.key.key;
    for (const auto& text : texts) {
        EXPECT_EQ(file.ReadText(text.key), text.value) << text.key.key;
        EXPECT_EQ(Profile(path, text.key.section, text.key.key), text.value) << text.key.key;
    }
    EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Profile(path, L"General", L"File types"), L"mp3;flac;");
    EXPECT_EQ(Profile(path, L"General", L"Remember search"), L"1");
    EXPECT_EQ(Profile(path, L"General", L"Sort"), L"2");
    EXPECT_EQ(Profile(path, L"Window", L"Divider"), L"250");
    EXPECT_EQ(Profile(path, L"Custom", L"Key"), L"Caf\u00e9");
    EXPECT_EQ(IniFileText(path).substr(0, 14), "; kept by hand");

    // A remembered search of such a name starts the next run as text, not as "???": a search
    // beginning with "?" would run as a condition.
    MainViewOptions options;
    options.Load(file);
    EXPECT_EQ(options.lastSearch, kName);

    // Once UTF-16, plain values keep it so, and the next value beyond the code page fits.
    ASSERT_TRUE(file.WriteInt(settings::kSort, 3));
    ASSERT_TRUE(file.WriteText(settings::kLastSearch, L"\u0416"));
    EXPECT_EQ(file.ReadText(settings::kLastSearch), L"\u0416");
    EXPECT_EQ(file.ReadText(settings::kTreeFolder), folderPath);

    // A file that such a name is the first thing written to starts as UTF-16.
    SettingsFile fresh(folder.File(L"new.ini"));
    ASSERT_TRUE(fresh.WriteText(settings::kFontName, kName));
    EXPECT_EQ(fresh.ReadText(settings::kFontName), kName);
}

}  // namespace
