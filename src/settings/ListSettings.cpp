// Reading and writing the file list's [List] keys, and the text form of the column order.
#include "settings/ListSettings.h"

#include <cwchar>

namespace {

const SettingKey& WidthKey(size_t column) {
    return column == 0 ? settings::kListNumWidth : settings::kListColumnWidths[column - 1];
}

int ParseDecimal(std::wstring_view piece) {
    std::wstring text(piece);
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

}  // namespace

ColumnOrder NaturalColumnOrder() {
    ColumnOrder order{};
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    return order;
}

ColumnOrder ParseColumnOrder(std::wstring_view text) {
    ColumnOrder order{};
    size_t used = 0;
    while (!text.empty() && used < order.size()) {
        size_t end = text.find(L';');
        order[used++] = ParseDecimal(text.substr(0, end));
        if (end == std::wstring_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return order;
}

bool IsCompleteColumnOrder(const ColumnOrder& order) {
    std::array<bool, settings::kListColumnCount> seen{};
    for (int column : order) {
        if (column < 0 || column >= settings::kListColumnCount || seen[column]) return false;
        seen[column] = true;
    }
    return true;
}

std::wstring FormatColumnOrder(const ColumnOrder& order) {
    std::wstring text;
    for (int column : order) text += std::to_wstring(column) + L";";
    return text;
}

void ListSettings::Load(const SettingsFile& file) {
    // A value edited by hand to another command's offset must not run it ("14" recycled files).
    doubleClickCommand = file.ReadInt(settings::kListDoubleClick) + settings::kDoubleClickCommandBase;
    if (!settings::IsDoubleClickCommand(doubleClickCommand))
        doubleClickCommand = settings::kListDoubleClick.intDefault + settings::kDoubleClickCommandBase;
    for (size_t i = 0; i < widths.size(); ++i) widths[i] = file.ReadInt(WidthKey(i));
    // A hand-edited or cut-off order would leave the header with a column twice and another
    // unreachable; the natural order at least shows every column.
    order = ParseColumnOrder(file.ReadText(settings::kListColumnOrder));
    if (!IsCompleteColumnOrder(order)) order = NaturalColumnOrder();
}

void ListSettings::Save(const SettingsFile& file, const ColumnWidths& currentWidths) const {
    for (size_t i = 0; i < widths.size(); ++i)
        file.WriteInt(WidthKey(i), currentWidths[i] < 1 ? widths[i] : currentWidths[i]);
    file.WriteInt(settings::kListDoubleClick,
                  doubleClickCommand - settings::kDoubleClickCommandBase);
    file.WriteText(settings::kListColumnOrder, FormatColumnOrder(order));
}
