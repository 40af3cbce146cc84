// The file list: the view's right-hand pane, a virtual report list that holds no items of its
// own. It sets up its fifteen columns from the settings, answers the list's private commands,
// paints its header, its rows and its empty-list status, and saves its columns when it closes.
// The view forwards the list's text requests, header clicks and owner-draw messages to it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/ListSettings.h"
#include "settings/SettingsFile.h"
#include "ui/framework/WindowObject.h"
#include "ui/view/PaneKeys.h"
#include "ui/view/drop/DropRegistration.h"
#include "ui/view/drop/ListDropTarget.h"

class ViewModel;

class FileListView : public WindowObject {
public:
    // Binds to the list control and registers it as the list window. resources: the module
    // the column captions and status texts are loaded from first.
    FileListView(HWND list, ViewModel& model, const SettingsFile& settings, HINSTANCE resources);

    // LVN_GETDISPINFO: the text of one cell.
    void OnGetDispInfo(NMLVDISPINFOW& info);
    // LVN_COLUMNCLICK: changes the sort key where the selected node keeps it and re-sorts.
    void OnColumnClick(int column);
    // WM_DRAWITEM and WM_MEASUREITEM for the list control.
    void DrawRow(const DRAWITEMSTRUCT& item);
    void MeasureRow(MEASUREITEMSTRUCT& item) const;
    // Takes the text and background colours from the skin colours, after a skin change.
    void ApplyColors();
    // The custom font, owned by the caller and kept alive while the list uses it; null for
    // the list's own font.
    void SetFont(HFONT font);

    // List command 3999: hides a shown column, remembering its width, or shows a hidden one.
    void ToggleColumn(int column);
    enum class SelectChange { kAll, kNone, kInvert };
    void SelectRows(SelectChange change);
    int DoubleClickCommand() const { return stored_.doubleClickCommand; }
    // The paths of the bookmarks the list's menu shows, in item order, for list command 3027.
    void SetBookmarks(std::vector<std::wstring> paths) { bookmarks_ = std::move(paths); }
    bool EnterKeyDisabled() const { return enterKeyDisabled_; }
    const std::wstring& StatusText() const { return status_; }
    // What OLE calls while files are dragged over the list.
    IDropTarget* DropTarget() const { return drop_.get(); }

    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnChar(HWND, UINT, WPARAM, LPARAM) override;
    // The keyboard of the list (ListKeys.cpp); Shift+F10 and the menu key ask the view for the
    // context menu.
    LRESULT OnKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnKeyUp(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnVScroll(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnMouseWheel(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSetCursor(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnEraseBackground(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnNotify(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~FileListView() override = default;

private:
    // Row cells keep this much space on each side of their text.
    static constexpr int kCellMargin = 3;

    struct CommandEntry;
    static const CommandEntry kCommands[];

    std::wstring String(UINT id) const;
    void InsertColumns();
    void RunCommand(int command, int argument);
    void SetStatus(int status);
    void Save();

    // Keys (ListKeys.cpp): 0 consumes the key, 1 lets the control move as usual.
    static const KeyBinding<FileListView> kKeys[];
    static const KeyBinding<FileListView> kAltKeys[];
    HWND Sibling(int controlId) const;
    LRESULT MoveFocusOnTab(const KeyPress& press);
    LRESULT PlayOnEnter(const KeyPress& press);
    LRESULT PassToView(const KeyPress& press);
    LRESULT ShowPlayingRow(const KeyPress& press);
    LRESULT LeaveTopRowUpwards(const KeyPress& press);
    LRESULT ReadRowsComingIntoView(const KeyPress& press);
    LRESULT MovePlaylistEntries(const KeyPress& press);
    LRESULT SelectLibrary(const KeyPress& press);
    LRESULT RemovePlaylistEntries(const KeyPress& press);
    LRESULT RunKeyCommand(const KeyPress& press);
    LRESULT OpenPreferences(const KeyPress& press);
    LRESULT SavePlaylist(const KeyPress& press);
    LRESULT BookmarkSelection(const KeyPress& press);
    LRESULT FocusSearch(const KeyPress& press);

    // Drawing (FileListDrawing.cpp).
    void PaintStatus(HDC dc) const;
    void WidenNumberColumn(HDC dc, const RECT& cell) const;

    // Header (FileListHeader.cpp).
    LRESULT OnHeaderNotify(NMHDR& header);
    LRESULT OnHeaderCustomDraw(const NMCUSTOMDRAW& draw) const;
    void DrawHeaderItem(const NMCUSTOMDRAW& draw) const;
    void DrawSortMark(HDC dc, const RECT& item) const;
    void FillBehindHeaderItems(const NMCUSTOMDRAW& draw) const;
    void FitNumberColumn();

    ViewModel& model_;
    SettingsFile settings_;
    HINSTANCE resources_;
    // The double-click command, the remembered widths (negative for hidden columns) and the
    // order last loaded or saved.
    ListSettings stored_;
    bool enterKeyDisabled_ = false;
    std::wstring status_;
    int columnsInserted_ = 0;
    HFONT font_ = nullptr;
    // Set by a double-click on the "#" divider until the width change it causes arrives.
    bool fitNumberColumn_ = false;
    std::vector<std::wstring> bookmarks_;
    DropRegistration<ListDropTarget> drop_;
};
