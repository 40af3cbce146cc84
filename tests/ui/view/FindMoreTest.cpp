// The "Find more" search text: a LIKE condition on the chosen column with quotes doubled.
#include <gtest/gtest.h>

#include "ui/view/SearchBox.h"

namespace {

TEST(FindMoreTest, BuildsAConditionWithQuotesDoubled) {
    struct Case { int field; const wchar_t* value; const wchar_t* text; };
    const Case cases[] = {
        {0, L"O'Neil", L"?artist LIKE '%O''Neil%'"},
        {1, L"Say \"Hi\"", L"?title LIKE '%Say \"\"Hi\"\"%'"},
        {2, L"Takk", L"?album LIKE '%Takk%'"},
        {3, L"", L"?genre LIKE '%%'"},
        {4, L"x", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(FindMoreText(c.field, c.value), c.text) << c.value;
}

TEST(FindMoreTest, LongValuesAreCutAt2047CharactersWithoutSplittingAQuote) {
    const size_t frame = std::wstring(L"?artist LIKE '%%'").size();
    EXPECT_EQ(FindMoreText(0, std::wstring(3000, L'a')).size(), frame + 2047);
    EXPECT_EQ(FindMoreText(0, std::wstring(3000, L'\'')).size(), frame + 2046);
}

}  // namespace
