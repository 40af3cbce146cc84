// The file list's stored columns: widths, hidden columns and the display order as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "settings/IniText.h"
#include "settings/ListSettings.h"
#include "support/TempFolder.h"

namespace {

ColumnOrder Order(std::initializer_list<int> columns) {
    ColumnOrder order{};
    std::copy(columns.begin(), columns.end(), order.begin());
    return order;
}

TEST(ListSettingsTest, FirstStartShowsNaturalOrderAndDefaultWidths) {
    TempFolder folder;
    ListSettings list;
    list.Load(SettingsFile(folder.File(L"gen_cv.ini")));
    EXPECT_EQ(list.order, Order({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(list.widths[0], 20);
    for (size_t i = 1; i < list.widths.size(); ++i) EXPECT_EQ(list.widths[i], 100) << i;
    EXPECT_EQ(list.doubleClickCommand, 3011);
}

struct OrderCase {
    const char* stored;
    ColumnOrder expected;
};

TEST(ListSettingsTest, StoredOrderIsAppliedOrReplacedWhenBroken) {
    const ColumnOrder natural = NaturalColumnOrder();
    const OrderCase cases[] = {
        {"3;0;1;2;4;5;6;7;8;9;10;11;12;13;14;",
         Order({3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})},
        {"14;13;12;11;10;9;8;7;6;5;4;3;2;1;0",
         Order({14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0})},
        // Only fifteen indices count; the rest is ignored.
        {"1;0;2;3;4;5;6;7;8;9;10;11;12;13;14;0;1;2;",
         Order({1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})},
        {"3;0;1;", natural},
        {"", natural},
        {"a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;", natural},
        {"0;1;2;3;4;5;6;7;8;9;10;11;12;13;15;", natural},
        {"0;0;2;3;4;5;6;7;8;9;10;11;12;13;14;", natural},
    };
    for (const OrderCase& c : cases) {
        TempFolder folder;
        std::wstring path = folder.File(L"gen_cv.ini");
        WriteBytes(path, std::string("[List]\r\nColumn order=") + c.stored + "\r\n");
        ListSettings list;
        list.Load(SettingsFile(path));
        EXPECT_EQ(list.order, c.expected) << c.stored;
    }
}

TEST(ListSettingsTest, SaveWritesEveryWidthThenOrderWithTrailingSeparators) {
    TempFolder folder;
    SettingsFile file(folder.File(L"gen_cv.ini"));
    ListSettings list;
    list.Load(file);
    list.order = Order({3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    list.doubleClickCommand = 3013;
    ColumnWidths current = list.widths;
    current[0] = 31;
    current[13] = 250;
    list.Save(file, current);

    EXPECT_EQ(SectionKeys(file.Path(), "List"),
              (std::vector<std::string>{"Num", "Title", "Artist", "Album", "Genre", "Comment",
                                        "Track #", "Year", "Length", "Bitrate", "Playcount",
                                        "Last changed", "Filesize", "Path", "Filename",
                                        "Double-click", "Column order"}));
    EXPECT_EQ(StoredValue(file.Path(), "List", "Num"), "31");
    EXPECT_EQ(StoredValue(file.Path(), "List", "Path"), "250");
    EXPECT_EQ(StoredValue(file.Path(), "List", "Double-click"), "3");
    EXPECT_EQ(StoredValue(file.Path(), "List", "Column order"),
              "3;0;1;2;4;5;6;7;8;9;10;11;12;13;14;");

    ListSettings reloaded;
    reloaded.Load(file);
    EXPECT_EQ(reloaded.order, list.order);
    EXPECT_EQ(reloaded.doubleClickCommand, 3013);
    EXPECT_EQ(reloaded.widths[13], 250);
}

TEST(ListSettingsTest, HiddenColumnKeepsItsRememberedWidth) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, "[List]\r\nGenre=-80\r\n");
    SettingsFile file(path);
    ListSettings list;
    list.Load(file);
    EXPECT_EQ(list.widths[4], -80);

    ColumnWidths current = list.widths;
    current[4] = 0;  // still hidden
    current[2] = 0;  // hidden during this run: the list remembers minus its width
    list.widths[2] = -140;
    list.Save(file, current);
    EXPECT_EQ(StoredValue(path, "List", "Genre"), "-80");
    EXPECT_EQ(StoredValue(path, "List", "Artist"), "-140");
}

}  // namespace
