// What the installer's test cannot do from the shell: name the user's documents folder as the
// shell does (the installer and the plugin both ask it), and stand in for a running player by
// owning a window of the player's class until that window is closed.
//   cvreleasehelper documents            prints the documents folder
//   cvreleasehelper window CLASS READY   creates the window, then writes the file READY
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

namespace {

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
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
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

int RunPlayerWindow(const wchar_t* className, const wchar_t* readyFile) {
    WNDCLASSW type = {};
    type.lpfnWndProc = PlayerWindowProc;
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
    if (argc == 4 && lstrcmpW(argv[1], L"window") == 0) return RunPlayerWindow(argv[2], argv[3]);
    fwprintf(stderr, L"usage: cvreleasehelper documents | window CLASS READY-FILE\n");
    return 2;
}
