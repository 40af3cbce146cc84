// A listing keeps each folder path once: files of a folder that come back later, after other
// folders, share the text made the first time, and no two paths ever share one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/FolderTexts.h"

namespace {

std::wstring FolderPath(int i) { return L"D:\\Music\\Artist " + std::to_wstring(i) + L"\\"; }

TEST(FolderTextsTest, APathMetAgainLaterSharesItsFirstText) {
    FolderTexts folders;
    // Enough folders that the table grows several times between the first meeting and the next.
    std::vector<TextObject*> first;
    for (int i = 0; i < 3000; ++i) first.push_back(folders.Shared(FolderPath(i)).get());
    for (int i = 2999; i >= 0; i -= 7) {
        const Ref<TextObject>& again = folders.Shared(FolderPath(i));
        EXPECT_EQ(again.get(), first[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(again->text, FolderPath(i));
    }
}

TEST(FolderTextsTest, PathsThatDifferInAnyWayGetTextsOfTheirOwn) {
    FolderTexts folders;
    const std::wstring paths[] = {L"D:\\a\\", L"D:\\A\\", L"D:\\a\\b\\", L"D:\\a", L"", L"D:\\\u00e9\\"};
    std::vector<TextObject*> made;
    for (const std::wstring& path : paths) {
        made.push_back(folders.Shared(path).get());
        EXPECT_EQ(made.back()->text, path);
    }
    for (size_t i = 0; i < made.size(); ++i)
        for (size_t j = i + 1; j < made.size(); ++j) EXPECT_NE(made[i], made[j]) << i << " " << j;
    // The same path asked twice in a row, and again after another, is the same text.
    EXPECT_EQ(folders.Shared(paths[1]).get(), made[1]);
    EXPECT_EQ(folders.Shared(paths[1]).get(), made[1]);
    EXPECT_EQ(folders.Shared(paths[0]).get(), made[0]);
}

// The texts outlive the table: records keep their references after the listing is done.
TEST(FolderTextsTest, TextsOutliveTheTable) {
    Ref<TextObject> kept;
    {
        FolderTexts folders;
        kept = folders.Shared(L"D:\\Kept\\");
        folders.Shared(L"D:\\Other\\");
    }
    EXPECT_EQ(kept->text, L"D:\\Kept\\");
    EXPECT_EQ(kept->RefCount(), 1);
}

}  // namespace
