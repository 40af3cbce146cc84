// Painting of the file list's rows, their height, its colours and its empty-list status.
#include <windows.h>
#include <commctrl.h>

#include "base/Gdi.h"
#include "base/Text.h"
#include "ui/view/CellText.h"
#include "ui/view/FileListView.h"
#include "ui/view/StripeShade.h"
#include "ui/view/ViewModel.h"
#include "ui/view/WindowDc.h"

namespace {

// Skin colours beyond the list's background and text.
constexpr int kSkinPlayingText = 18;
constexpr int kSkinSelection = 19;

constexpr int kDefaultRowHeight = 16;
// The status sits this far right of the list's edge and below its header.
constexpr int kStatusOffset = 10;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    if (brush) FillRect(dc, &rect, brush.get());
}

}  // namespace

void FileListView::DrawRow(const DRAWITEMSTRUCT& item) {
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;
    HWND list = Window();
    RECT client;
    GetClientRect(list, &client);
    RECT row;
    if (!IntersectRect(&row, &item.rcItem, &client)) return;

    // Drawn off-screen and copied in one piece, so the row never shows half painted.
    UniqueMemoryDc memory(CreateCompatibleDC(item.hDC));
    UniqueBitmap bitmap(CreateCompatibleBitmap(item.hDC, client.right, client.bottom));
    if (!memory || !bitmap) return;
    SelectGuard selectBitmap(memory.get(), bitmap.get());
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
    SelectGuard selectFont(memory.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));

    int index = static_cast<int>(item.itemID);
    const SkinColors& colors = model_.Colors();
    COLORREF fill = colors.Get(SkinColors::kBackground);
    if (item.itemState & ODS_SELECTED)
        fill = colors.Get(kSkinSelection);
    else if (index % 2 == 0)
        fill = StripeShade(fill, model_.Options().stripeShade);
    Fill(memory.get(), item.rcItem, fill);

    Ref<FileRecord> record = model_.RowAt(index);
    std::wstring playing = model_.PlayingPath();
    bool isPlaying = record && !playing.empty() && record->HasPath(playing);
    COLORREF text = colors.Get(isPlaying ? kSkinPlayingText : SkinColors::kText);
    // Skins pair their list text with their background, not always with their selection colour
    // nor their playing text with either; such a text may all but vanish. Stripes are the
    // user's own choice of shade.
    if ((item.itemState & ODS_SELECTED) || isPlaying) text = colors.ReadableOn(fill, text);
    SetTextColor(memory.get(), text);
    SetBkMode(memory.get(), TRANSPARENT);

    CellContext context;
    context.row = index;
    context.hideKbps = model_.Options().hideKbps;
    for (int column = 0; record && column < kColumnCount; ++column) {
        RECT cell;
        if (!ListView_GetSubItemRect(list, index, column, LVIR_LABEL, &cell)) continue;
        cell.left += kCellMargin;
        cell.right -= kCellMargin;
        if (column == kColumnNumber) WidenNumberColumn(memory.get(), cell);
        if (cell.right <= cell.left) continue;
        std::wstring text = CellText(*record, column, context);
        UINT align = IsRightAligned(column) ? DT_RIGHT : DT_LEFT;
        DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &cell,
                  align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    BitBlt(item.hDC, row.left, row.top, row.right - row.left, row.bottom - row.top, memory.get(),
           row.left, row.top, SRCCOPY);
}

// Row numbers are never cut short: a "#" column too narrow for the largest of them (the
// default width holds only one digit) widens to fit it. The widening is posted, because the
// list must not change its columns while it is painting them.
void FileListView::WidenNumberColumn(HDC dc, const RECT& cell) const {
    HWND list = Window();
    int width = ListView_GetColumnWidth(list, kColumnNumber);
    if (width <= 0) return;  // hidden by the user
    std::wstring widest = std::to_wstring(ListView_GetItemCount(list));
    SIZE size;
    if (!GetTextExtentPoint32W(dc, widest.c_str(), static_cast<int>(widest.size()), &size)) return;
    int room = cell.right - cell.left;
    if (size.cx <= room) return;
    PostMessageW(list, LVM_SETCOLUMNWIDTH, kColumnNumber, MAKELPARAM(width + size.cx - room, 0));
}

void FileListView::MeasureRow(MEASUREITEMSTRUCT& item) const {
    item.itemHeight = kDefaultRowHeight;
    WindowDc dc(Window());
    if (!font_ || !dc) return;
    SelectGuard select(dc.get(), font_);
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc.get(), &metrics))
        item.itemHeight = static_cast<UINT>(metrics.tmHeight + metrics.tmExternalLeading);
}

void FileListView::ApplyColors() {
    HWND list = Window();
    const SkinColors& colors = model_.Colors();
    ListView_SetTextColor(list, colors.Get(SkinColors::kText));
    ListView_SetBkColor(list, colors.Get(SkinColors::kBackground));
    ListView_SetTextBkColor(list, colors.Get(SkinColors::kBackground));
    InvalidateRect(list, nullptr, TRUE);
}

void FileListView::SetFont(HFONT font) {
    HWND list = Window();
    font_ = font;
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // An owner-drawn list asks for its row height only when its size changes.
    RECT rect;
    GetWindowRect(list, &rect);
    WINDOWPOS position = {list, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                          SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER};
    SendMessageW(list, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

void FileListView::PaintStatus(HDC dc) const {
    HWND list = Window();
    RECT client;
    GetClientRect(list, &client);
    const SkinColors& colors = model_.Colors();
    Fill(dc, client, colors.Get(SkinColors::kBackground));

    RECT header = {};
    if (HWND control = ListView_GetHeader(list)) {
        GetWindowRect(control, &header);
        MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
    }
    // As wide as the header, but down to the bottom: a status that wraps in a narrow pane
    // would otherwise lose its second line.
    RECT text = {kStatusOffset, header.bottom + kStatusOffset,
                 kStatusOffset + (header.right - header.left), client.bottom};
    SelectGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, colors.Get(SkinColors::kText));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, status_.c_str(), static_cast<int>(status_.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
}
