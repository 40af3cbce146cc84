// What the installer's test cannot do from the shell: name the user's documents folder as the
// shell does (the installer and the plugin both ask it), and stand in for a running program by
// owning a window of a given class, and perhaps holding a file open, until that window closes.
//   cvreleasehelper documents                 prints the documents folder
//   cvreleasehelper window CLASS READY [FILE] opens FILE as a loaded module is held (it can be
//                                             read, not replaced or deleted), creates the window,
//                                             then writes the file READY
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "base/Unique.h"

namespace {

LRESULT CALLBACK QuitOnDestroyProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wp, lp);
}

int PrintDocuments() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, path))) return 1;
    wprintf(L"%ls\n", path);
    return 0;
}

bool WriteReadyFile(const wchar_t* path) {
    return UniqueFileHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
        .valid();
}

int RunWindow(const wchar_t* className, const wchar_t* readyFile, const wchar_t* heldFile) {
    UniqueFileHandle held;
    if (heldFile) {
        held = UniqueFileHandle(
            CreateFileW(heldFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!held) return 1;
    }
    WNDCLASSW type = {};
    type.lpfnWndProc = QuitOnDestroyProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = className;
    if (!RegisterClassW(&type)) return 1;
    HWND window = CreateWindowW(className, L"Player", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                type.hInstance, nullptr);
    if (!window || !WriteReadyFile(readyFile)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && lstrcmpW(argv[1], L"documents") == 0) return PrintDocuments();
    if ((argc == 4 || argc == 5) && lstrcmpW(argv[1], L"window") == 0)
        return RunWindow(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    fwprintf(stderr, L"usage: cvreleasehelper documents | window CLASS READY-FILE [HELD-FILE]\n");
    return 2;
}
