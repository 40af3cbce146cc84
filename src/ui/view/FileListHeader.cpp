// The file list's header: its skinned drawing with the sort mark, the "#" auto-width, and the
// header click that changes the sort order.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "base/Gdi.h"
#include "bus/CommandCodes.h"
#include "db/roots/SqlRoot.h"
#include "ui/view/CellText.h"
#include "ui/view/FileListView.h"
#include "ui/view/SortKeys.h"
#include "ui/view/ViewModel.h"
#include "ui/view/WindowDc.h"

namespace {

// Skin colours of the header.
constexpr int kSkinHeaderBackground = 7;
constexpr int kSkinHeaderText = 8;
constexpr int kSkinHeaderLight = 9;
constexpr int kSkinHeaderDark = 10;
constexpr int kSkinHeaderEmpty = 12;

constexpr int kHeaderTextIndent = 5;
// The shared window procedure turns this answer into a refused header change.
constexpr LRESULT kRefuseHeaderChange = 6666;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    if (brush) FillRect(dc, &rect, brush.get());
}

void Line(HDC dc, COLORREF color, POINT from, POINT to) {
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    if (!pen) return;
    SelectGuard select(dc, pen.get());
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

// A raised button edge: light at the top and left, dark then black at the bottom and right;
// pressed, the shades swap sides.
void DrawItemEdge(HDC dc, const RECT& r, COLORREF light, COLORREF dark, bool pressed) {
    COLORREF topLeft = pressed ? RGB(0, 0, 0) : light;
    COLORREF innerTopLeft = pressed ? dark : light;
    COLORREF bottomRight = pressed ? light : RGB(0, 0, 0);
    COLORREF innerBottomRight = pressed ? light : dark;
    Line(dc, topLeft, {r.left, r.bottom - 1}, {r.left, r.top});
    Line(dc, topLeft, {r.left, r.top}, {r.right, r.top});
    Line(dc, innerTopLeft, {r.left + 1, r.bottom - 2}, {r.left + 1, r.top + 1});
    Line(dc, bottomRight, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1});
    Line(dc, bottomRight, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1});
    Line(dc, innerBottomRight, {r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2});
    Line(dc, innerBottomRight, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top});
}

SqlRoot* SmartPlaylistOf(const TreeNode* node) {
    if (!node || node->kind != NodeKind::kSmartPlaylist || !node->root) return nullptr;
    return node->root->Type() == RootType::kSql ? static_cast<SqlRoot*>(node->root) : nullptr;
}

}  // namespace

LRESULT FileListView::OnHeaderNotify(NMHDR& header) {
    switch (header.code) {
        case NM_CUSTOMDRAW:
            return OnHeaderCustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(header));
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            fitNumberColumn_ = reinterpret_cast<NMHEADERW&>(header).iItem == kColumnNumber;
            return 1;
        case HDN_ITEMCHANGINGW: {
            // The control sizes "#" to the text it holds, which is nothing: the row numbers
            // come from the view. Size it to the widest number instead and refuse its change.
            auto& change = reinterpret_cast<NMHEADERW&>(header);
            if (!fitNumberColumn_ || change.iItem != kColumnNumber) return 1;
            fitNumberColumn_ = false;
            FitNumberColumn();
            return kRefuseHeaderChange;
        }
        default:
            return 1;
    }
}

void FileListView::FitNumberColumn() {
    HWND list = Window();
    std::wstring widest = std::to_wstring(ListView_GetItemCount(list));
    WindowDc dc(list);
    if (!dc) return;
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
    SelectGuard select(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size;
    if (!GetTextExtentPoint32W(dc.get(), widest.c_str(), static_cast<int>(widest.size()), &size)) return;
    // The cell's margins plus a pixel, so the largest number never ends in an ellipsis.
    ListView_SetColumnWidth(list, kColumnNumber, size.cx + 2 * kCellMargin + 1);
}

LRESULT FileListView::OnHeaderCustomDraw(const NMCUSTOMDRAW& draw) const {
    switch (draw.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT:
            DrawHeaderItem(draw);
            return CDRF_SKIPDEFAULT;
        case CDDS_POSTPAINT:
            FillBehindHeaderItems(draw);
            return CDRF_SKIPDEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

void FileListView::DrawHeaderItem(const NMCUSTOMDRAW& draw) const {
    const SkinColors& colors = model_.Colors();
    HDC dc = draw.hdc;
    const RECT& r = draw.rc;
    bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    Fill(dc, r, colors.Get(kSkinHeaderBackground));
    DrawItemEdge(dc, r, colors.Get(kSkinHeaderLight), colors.Get(kSkinHeaderDark), pressed);

    auto column = static_cast<int>(draw.dwItemSpec);
    int key = SortKeyInEffect(model_.SelectedNode().get(), model_.DefaultSortKey());
    // "#" is never sorted, so a key of 0 marks no column.
    if (key != 0 && std::abs(key) == column) DrawSortMark(dc, r);

    wchar_t text[256] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = ARRAYSIZE(text);
    Header_GetItem(draw.hdr.hwndFrom, column, &item);
    RECT textRect = r;
    textRect.left += kHeaderTextIndent + (pressed ? 1 : 0);
    SetTextColor(dc, colors.ReadableOn(colors.Get(kSkinHeaderBackground), colors.Get(kSkinHeaderText)));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, text, -1, &textRect, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
}

// A small triangle near the right end: apex up for ascending, down for descending; sized by
// the width of a space so it follows the header's font.
void FileListView::DrawSortMark(HDC dc, const RECT& r) const {
    SIZE space = {};
    GetTextExtentPoint32W(dc, L" ", 1, &space);
    int u = space.cx > 0 ? space.cx : 3;
    int height = r.bottom - r.top;
    int top = r.top + height / 4;
    int bottom = r.top + height - 2 * u;
    int key = SortKeyInEffect(model_.SelectedNode().get(), model_.DefaultSortKey());
    const SkinColors& colors = model_.Colors();
    COLORREF light = colors.Get(kSkinHeaderLight), dark = colors.Get(kSkinHeaderDark);
    POINT left, right, apex;
    if (key < 0) {
        apex = {r.right - 5 * u, top};
        left = {r.right - 6 * u, bottom};
        right = {r.right - 4 * u, bottom};
    } else {
        left = {r.right - 6 * u, top + 1};
        right = {r.right - 4 * u, top + 1};
        apex = {r.right - 5 * u, bottom};
    }
    Line(dc, dark, left, apex);
    Line(dc, light, apex, right);
    Line(dc, key < 0 ? light : dark, left, right);
}

void FileListView::FillBehindHeaderItems(const NMCUSTOMDRAW& draw) const {
    HWND header = draw.hdr.hwndFrom;
    RECT free;
    GetClientRect(header, &free);
    int count = Header_GetItemCount(header);
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (Header_GetItemRect(header, i, &item) && item.right > free.left) free.left = item.right;
    }
    if (free.left < free.right) Fill(draw.hdc, free, model_.Colors().Get(kSkinHeaderEmpty));
}

void FileListView::OnColumnClick(int column) {
    if (column < 0 || column >= kColumnCount) return;
    HWND list = Window();
    Ref<RowList> rows = model_.CurrentRows();
    Ref<FileRecord> marked;
    if (int mark = ListView_GetSelectionMark(list); mark >= 0) marked = model_.RowAt(mark);

    // Each playlist and smart playlist keeps its own order; everything else shares the view's.
    // "#" on a playlist turns sorting off through the view's key, leaving the playlist's own.
    Ref<TreeNode> node = model_.SelectedNode();
    bool playlist = node && node->kind == NodeKind::kPlaylist && node->playlist;
    Playlist* ownPlaylist = playlist && column != kColumnNumber ? node->playlist.get() : nullptr;
    SqlRoot* smart = SmartPlaylistOf(node.get());
    int current = ownPlaylist ? ownPlaylist->sortKey : smart ? smart->SortKey() : model_.DefaultSortKey();
    int key = NextSortKey(current, column, playlist);
    if (ownPlaylist) {
        ownPlaylist->sortKey = key;
        ownPlaylist->modified = true;  // its new order can be saved
    } else if (smart) {
        smart->SetSortKey(key);
    } else {
        model_.SetDefaultSortKey(key);
    }
    InvalidateRect(ListView_GetHeader(list), nullptr, TRUE);
    if (!rows || rows->rows.empty()) return;

    SetStatus(kListStatusLoading);
    // The view shows a sorted copy: the worker may be reading the rows shown until now.
    Ref<RowList> sorted = model_.SortShownRows(key);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (size_t i = 0; sorted && marked && i < sorted->rows.size(); ++i) {
        if (sorted->rows[i].get() != marked.get()) continue;
        int index = static_cast<int>(i);
        ListView_EnsureVisible(list, index, FALSE);
        ListView_SetItemState(list, index, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetSelectionMark(list, index);
        break;
    }
    InvalidateRect(list, nullptr, FALSE);
}
