// Sorting out the paths a delete sends to the shell.
#include "ui/view/RecyclePaths.h"

#include <set>

#include "base/Text.h"

namespace {

constexpr size_t kLongestShellPath = 259;

bool IsUrl(const std::wstring& path) { return path.find(L"://") != std::wstring::npos; }

}  // namespace

RecycleList CollectRecyclePaths(const std::vector<std::wstring>& chosen) {
    RecycleList list;
    std::set<std::wstring> seen;
    for (const std::wstring& path : chosen) {
        if (path.empty() || IsUrl(path) || !seen.insert(ToLower(path)).second) continue;
        if (path.size() > kLongestShellPath) {
            ++list.tooLong;
            continue;
        }
        list.paths += path;
        list.paths += L'\0';
        ++list.count;
    }
    list.paths += L'\0';
    return list;
}
