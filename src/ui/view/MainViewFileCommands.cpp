// The view's commands on files and on the cache: the host's file-information dialog, the
// recycle bin, a row's folder in the tree or in the file manager, the playing row, and
// cleaning the cache of duplicate rows.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/SafeFormat.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/Listing.h"
#include "host/HostApi.h"
#include "scan/WorkItems.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/RecyclePaths.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

const wchar_t kUnexpectedError[] =
    L"An unexpected error has occurred. Please report the author of this plugin how you made it happen :)";
const wchar_t kCleanReport[] = L"%d file(s) in database before clean. %d file(s) in database after clean";

}  // namespace

// Each dialog is shown in turn; the host answers non-zero when the user ends the series.
// The user may have changed the tags in the dialog: the worker reads the row again, as it reads
// a row coming into sight, so the row's texts change only while the worker waits for them and
// never under a listing or a pass it is running over the same records.
LRESULT MainView::OnFileInfo(LPARAM) {
    fileInfoLoop_ = true;
    Ref<RowList> rows = CurrentRows();
    for (int index : SelectedRowIndexes()) {
        Ref<FileRecord> row = RowAt(index);
        if (!row || !rows) {
            MessageBoxW(nullptr, kUnexpectedError, L"Error", MB_OK | MB_TOPMOST);
            break;
        }
        std::wstring path = row->Path();
        HostFileInfoRecord request{dialog_, path.c_str()};
        if (SendMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(&request), kHostFileInfoDialog) != 0) break;
        auto range = std::make_unique<VisibleRange>(VisibleRange{index, index + 1, kRangeEvenIfRead});
        Ref<RowList> handed = rows;
        if (PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(range.get()), reinterpret_cast<LPARAM>(handed.get()))) {
            range.release();
            handed.Detach();
        }
    }
    fileInfoLoop_ = false;
    return TRUE;
}

// The watchers report the removals; the list and the tree are left as they are. The paths are
// taken before the question: while the box is open a folder may be renamed or a listing come
// in, and what goes must be what the user saw chosen when saying yes.
LRESULT MainView::OnRecycleFiles(LPARAM lp) {
    std::vector<std::wstring> chosen;
    if (lp == 0) {
        for (const Ref<FileRecord>& row : SelectedRecords()) chosen.push_back(row->Path());
    } else if (Ref<TreeNode> node = SelectedNode()) {
        std::wstring folder = node->path;
        if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
        chosen.push_back(folder);
    }
    RecycleList list = CollectRecyclePaths(chosen);
    if (list.count > 0 &&
        MessageBoxW(dialog_, GetString(kStrMsgRecycleFiles), L"Delete file(s)", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return TRUE;
    if (list.count > 0) {
        SHFILEOPSTRUCTW operation = {};
        operation.hwnd = dialog_;
        operation.wFunc = FO_DELETE;
        operation.pFrom = list.paths.c_str();
        operation.fFlags = FOF_ALLOWUNDO | FOF_WANTNUKEWARNING;
        SHFileOperationW(&operation);
    }
    if (list.tooLong > 0)
        MessageBoxW(nullptr, SafeFormat(GetString(kStrMsgRecyclePathTooLong), {static_cast<long long>(list.tooLong)}).c_str(),
                    L"Warning", MB_OK | MB_ICONWARNING | MB_TOPMOST);
    return TRUE;
}

LRESULT MainView::OnSelectRowFolder(LPARAM) {
    HWND list = GetDlgItem(dialog_, kListControl);
    Ref<FileRecord> row = RowAt(ListView_GetNextItem(list, -1, LVNI_FOCUSED | LVNI_SELECTED));
    if (!row) return TRUE;
    HTREEITEM item = tree_->FindItemByPath(std::wstring(row->FolderPath()));
    if (!item) {
        MessageBoxW(nullptr, GetString(kStrMsgFolderNotFound), L"", MB_OK | MB_TOPMOST);
        return TRUE;
    }
    TreeView_SelectSetFirstVisible(tree_->Tree(), item);
    tree_->SelectItem(item);
    return TRUE;
}

LRESULT MainView::OnShowInExplorer(LPARAM lp) {
    Ref<FileRecord> row = RowAt(static_cast<int>(lp));
    if (!row) return TRUE;
    std::wstring parameters = L"/select, \"" + row->Path() + L"\"";
    ShellExecuteW(dialog_, nullptr, L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return TRUE;
}

// The row ends up near the middle of the page.
LRESULT MainView::OnShowPlayingRow(LPARAM) {
    Ref<RowList> rows = CurrentRows();
    if (!rows || playingPath_.empty()) return TRUE;
    int found = -1;
    for (size_t i = 0; i < rows->rows.size(); ++i) {
        if (rows->rows[i]->HasPath(playingPath_)) {
            found = static_cast<int>(i);
            break;
        }
    }
    if (found < 0) return TRUE;
    HWND list = GetDlgItem(dialog_, kListControl);
    int half = ListView_GetCountPerPage(list) / 2;
    int aim = ListView_GetTopIndex(list) + half < found ? found + half : found - half;
    aim = std::max(0, std::min(aim, static_cast<int>(rows->rows.size()) - 1));
    ListView_EnsureVisible(list, aim, FALSE);
    return TRUE;
}

LRESULT MainView::OnCleanDatabase(LPARAM) {
    if (MessageBoxW(dialog_, GetString(kStrMsgCleanIsSlow), L"Warning", MB_YESNO | MB_ICONWARNING | MB_TOPMOST) != IDYES ||
        !database_)
        return TRUE;
    auto [before, after] = CleanDatabase(*database_);
    std::wstring report = SafeFormat(kCleanReport, {static_cast<long long>(before), static_cast<long long>(after)});
    PostMessageW(dialog_, kCommandMessage, kCmdShowInformation, PassText(report));
    return TRUE;
}
