// The file list's stored settings: its double-click command, the widths of its fifteen columns
// and the order the header shows them in.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"

// Indexed by column: 0 is the row number, 1-14 "Title" to "Filename".
using ColumnWidths = std::array<int, settings::kListColumnCount>;
// Column indices in display order.
using ColumnOrder = std::array<int, settings::kListColumnCount>;

// 0, 1, ..., 14.
ColumnOrder NaturalColumnOrder();
// Splits at ";" and reads each piece as a decimal number (0 when it is not one); only the first
// fifteen pieces count and missing ones are 0. The result may name a column twice.
ColumnOrder ParseColumnOrder(std::wstring_view text);
// Whether every column appears exactly once.
bool IsCompleteColumnOrder(const ColumnOrder& order);
// Every index followed by ";", as "0;1;2;...;14;".
std::wstring FormatColumnOrder(const ColumnOrder& order);

struct ListSettings {
    int doubleClickCommand = settings::kDoubleClickCommandBase + 1;  // 3010-3013
    // The remembered widths: a negative width belongs to a hidden column and is the width it
    // comes back with.
    ColumnWidths widths{};
    ColumnOrder order = NaturalColumnOrder();

    // A stored order that does not name every column once shows the natural order.
    void Load(const SettingsFile& file);
    // Writes the widths the columns have now, the double-click command and the order. A column
    // narrower than 1 pixel is hidden and writes its remembered width, so that it stays hidden
    // and still knows its width at the next start.
    void Save(const SettingsFile& file, const ColumnWidths& currentWidths) const;
};
