// The German pack the build makes, read as the plugin reads it: a translation for every text
// of the plugin but the two left out on purpose, formats that take the same arguments as the
// English ones, and the accelerators and icons the view takes from the pack once it is loaded.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "base/Unique.h"
#include "support/BuildFiles.h"

namespace {

constexpr UINT kFirstStringId = 1000;
constexpr UINT kLastStringId = 6999;

std::wstring LoadText(HMODULE module, UINT id) {
    wchar_t text[1024] = {};
    LoadStringW(reinterpret_cast<HINSTANCE>(module), id, text, 1024);
    return text;
}

// The conversions of a format, in order ("%d", "%02d", "%s" ...); "%%" is plain text.
std::wstring Conversions(const std::wstring& format) {
    std::wstring found;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            ++i;
            continue;
        }
        size_t end = format.find_first_not_of(L"0123456789.-+ #lh", i + 1);
        if (end == std::wstring::npos) end = format.size() - 1;
        found += format.substr(i, end - i + 1) + L" ";
        i = end;
    }
    return found;
}

class GermanPackContentsTest : public testing::Test {
protected:
    UniqueModule plugin{LoadLibraryExW(BuildFile(L"gen_cv.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    UniqueModule pack{LoadLibraryExW(BuildFile(L"lang\\" CV_GERMAN_PACK_NAME).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE)};
};

TEST_F(GermanPackContentsTest, TranslatesEveryTextButTheTwoLeftOutOnPurpose) {
    ASSERT_TRUE(plugin.get());
    ASSERT_TRUE(pack.get());
    EXPECT_EQ(LoadText(pack.get(), 1000), L"Deutsch");
    const std::set<UINT> leftOut = {2009, 3021};
    int translated = 0;
    for (UINT id = kFirstStringId; id <= kLastStringId; ++id) {
        std::wstring english = LoadText(plugin.get(), id);
        std::wstring german = LoadText(pack.get(), id);
        if (english.empty()) {
            EXPECT_TRUE(german.empty()) << id << ": a text the plugin does not have";
            continue;
        }
        if (leftOut.count(id)) {
            EXPECT_TRUE(german.empty()) << id << " is meant to fall back to English";
            continue;
        }
        EXPECT_FALSE(german.empty()) << id << " " << testing::PrintToString(english) << " is untranslated";
        EXPECT_EQ(Conversions(german), Conversions(english)) << id << ": the format would read other arguments";
        ++translated;
    }
    EXPECT_GT(translated, 150);
}

TEST(FormatConversionsTest, ListsConversionsAndSkipsLiteralPercents) {
    EXPECT_EQ(Conversions(L"%d of %d (%02d:%02d:%02d%s, %.2f %CB)"), L"%d %d %02d %02d %02d %s %.2f %C ");
    EXPECT_EQ(Conversions(L"Process files %i%%...(Escape)"), L"%i ");
    EXPECT_EQ(Conversions(L"no conversions"), L"");
}

TEST_F(GermanPackContentsTest, CarriesTheAcceleratorsAndIconsTheViewTakesFromIt) {
    ASSERT_TRUE(pack.get());
    HINSTANCE module = reinterpret_cast<HINSTANCE>(pack.get());
    HACCEL accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(141));
    ASSERT_NE(accelerators, nullptr);
    EXPECT_EQ(CopyAcceleratorTableW(accelerators, nullptr, 0), 2);
    DestroyAcceleratorTable(accelerators);
    for (int icon : {5, 105, 114, 118, 123, 127, 129, 135, 137}) {
        HICON loaded = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(icon), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(loaded, nullptr) << "icon " << icon;
        if (loaded) DestroyIcon(loaded);
    }
}

}  // namespace
