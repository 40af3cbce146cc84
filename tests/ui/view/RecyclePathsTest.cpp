// What a delete sends to the recycle bin, taken from the chosen paths before the question.
#include <gtest/gtest.h>

#include "ui/view/RecyclePaths.h"

namespace {

// Each path goes once, a URL never, and one the shell would cut into another path is counted to
// be reported rather than dropped in silence.
TEST(RecyclePathsTest, EachPathOnceNoUrlsAndTooLongOnesCounted) {
    std::wstring deep = L"C:\\" + std::wstring(260, L'x') + L".mp3";
    RecycleList list = CollectRecyclePaths({L"C:\\Music\\a.mp3", L"c:\\music\\A.MP3", L"http://radio.example/live",
                                            deep, L"\\\\server\\share\\b.mp3", L""});
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.tooLong, 1);
    EXPECT_EQ(list.paths, std::wstring(L"C:\\Music\\a.mp3\0\\\\server\\share\\b.mp3\0\0", 37));

    RecycleList none = CollectRecyclePaths({});
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.paths, std::wstring(1, L'\0'));
}

}  // namespace
