// Making, copying and removing profile folders.
#include "ProfileFolders.h"

#include <windows.h>

#include "base/ReplacingFile.h"
#include "base/Unique.h"

namespace {

template <class Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found = {};
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find.get(), &found));
}

}  // namespace

void WriteNewProfile(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Crateview").c_str(), nullptr);
    WriteFileThrough(folder + L"\\Crateview\\gen_cv.ini",
                     "[General]\r\nFile types=mp3;\r\nAuto-refresh=0\r\n"
                     "[Window]\r\nLeft=0\r\nTop=0\r\nRight=900\r\nBottom=600\r\nVisible=1\r\n");
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    ForEachEntry(from, [&](const std::wstring& name, bool folder) {
        if (folder) {
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        } else {
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
        }
    });
}

void RemoveTree(const std::wstring& folder) {
    ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
        std::wstring path = folder + L"\\" + name;
        if (isFolder) {
            RemoveTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    });
    RemoveDirectoryW(folder.c_str());
}
