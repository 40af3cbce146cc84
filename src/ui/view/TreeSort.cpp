// The folder tree's sibling order.
#include "ui/view/TreeSort.h"

#include <windows.h>

#include <string_view>

namespace {

bool StartsWithThe(std::wstring_view name) {
    return name.size() >= 4 && (name[0] == L't' || name[0] == L'T') && (name[1] == L'h' || name[1] == L'H') &&
           (name[2] == L'e' || name[2] == L'E') && name[3] == L' ';
}

std::wstring_view SortName(const std::wstring& name, TreeSortOptions options) {
    std::wstring_view view(name);
    if (options.skipLeadingSpaces)
        while (!view.empty() && view.front() == L' ') view.remove_prefix(1);
    if (options.skipLeadingThe && StartsWithThe(view)) view.remove_prefix(4);
    return view;
}

// The leading decimal digits without their leading zeros, so that numbers of any length
// compare exactly: a longer digit run is the larger number. Empty for no number or zero.
std::wstring_view LeadingNumber(std::wstring_view name) {
    size_t end = 0;
    while (end < name.size() && name[end] >= L'0' && name[end] <= L'9') ++end;
    std::wstring_view digits = name.substr(0, end);
    while (!digits.empty() && digits.front() == L'0') digits.remove_prefix(1);
    return digits;
}

int CompareNumbers(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

}  // namespace

int CompareTreeNodes(const TreeNode& a, const TreeNode& b, TreeSortOptions options) {
    // Playlists only go after folders. Between two playlists the names decide, so the
    // comparison stays consistent whichever of the two the sort asks about first.
    bool aPlaylist = a.kind == NodeKind::kPlaylist;
    bool bPlaylist = b.kind == NodeKind::kPlaylist;
    if (aPlaylist != bPlaylist) return aPlaylist ? 1 : -1;

    std::wstring_view nameA = SortName(a.name, options);
    std::wstring_view nameB = SortName(b.name, options);
    std::wstring_view numberA = LeadingNumber(nameA);
    std::wstring_view numberB = LeadingNumber(nameB);
    if (!numberA.empty() && !numberB.empty()) {
        // Equal numbers ("2 Live", "2 Studio") leave it to the names.
        if (int order = CompareNumbers(numberA, numberB)) return order;
    }
    int result = CompareStringW(LOCALE_USER_DEFAULT, 0, nameA.data(), static_cast<int>(nameA.size()),
                                nameB.data(), static_cast<int>(nameB.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}
