// Runs the list's bookmark command through the view's bus.
#include "ui/view/ListBookmarkCommand.h"

#include "bus/ViewCommands.h"
#include "db/RowList.h"
#include "ui/view/ViewCommandCodes.h"

void RunBookmarkCommand(const std::vector<std::wstring>& bookmarks, int n) {
    if (n == 0) {
        PostToView(kCmdBookmarkRows);
        return;
    }
    if (n < 0 || static_cast<size_t>(n) > bookmarks.size()) return;
    auto rows = Ref<RowList>::Make();
    rows->rows.push_back(Ref<FileRecord>::Make(std::wstring_view(bookmarks[static_cast<size_t>(n) - 1])));
    // The view adopts the reference that comes with the list; a post that fails gives it back.
    RowList* passed = rows.Detach();
    if (!PostToView(kCmdPlayRowList, reinterpret_cast<LPARAM>(passed))) passed->Release();
}
