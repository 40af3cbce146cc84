// The tree tests' windows and helpers.
#include "ui/view/tree/TreeHarness.h"
#include "base/GuiObjects.h"

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"

std::vector<wchar_t> TreeTest::charsSeen;
std::vector<std::pair<WPARAM, LPARAM>> TreeTest::commandsSeen;

namespace {

FolderTreeView* current = nullptr;
WNDPROC controlProc = nullptr;

INT_PTR CALLBACK ForwardingDialogProc(HWND window, UINT message, WPARAM, LPARAM lp) {
    LRESULT result = 0;
    if (message != WM_NOTIFY || !current || !current->HandleNotify(*reinterpret_cast<NMHDR*>(lp), result))
        return FALSE;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

// Installed under the tree object, so it sees only what the object lets through.
LRESULT CALLBACK CharSpyProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_CHAR) TreeTest::charsSeen.push_back(static_cast<wchar_t>(wp));
    return CallWindowProcW(controlProc, window, message, wp, lp);
}

LRESULT CALLBACK ViewRecorderProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message != kCommandMessage) return DefWindowProcW(window, message, wp, lp);
    TreeTest::commandsSeen.emplace_back(wp, lp);
    return 0;
}

void RegisterClasses() {
    static bool done = [] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvTreeTestHost";
        RegisterClassW(&wc);
        wc.lpfnWndProc = &ViewRecorderProc;
        wc.lpszClassName = L"CvTreeTestView";
        return RegisterClassW(&wc) != 0;
    }();
    (void)done;
}

}  // namespace

std::pair<DWORD, DWORD> GuiObjectsNow() {
    GuiObjectCounts counts = CountGuiObjects();
    return {counts.gdi, counts.user};
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TreeTest::SetUp() {
    RegisterClasses();
    charsSeen.clear();
    commandsSeen.clear();
    viewWindow = CreateWindowW(L"CvTreeTestView", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    RegisterWindow(kMainViewWindowId, viewWindow);
    CreateWindows();
}

void TreeTest::TearDown() {
    DestroyWindows();
    ReleaseView();
    RegisterWindow(kMainViewWindowId, nullptr);
    DestroyWindow(viewWindow);
}

// Hidden: destroying a window that was shown costs Wine seconds without a window manager.
void TreeTest::CreateWindows() {
    host = CreateWindowW(L"CvTreeTestHost", L"", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr, nullptr, nullptr, nullptr);
    dialog = CreateDialogParamW(reinterpret_cast<HINSTANCE>(context.module()), MAKEINTRESOURCEW(kViewDialogId), host,
                                &ForwardingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    tree = GetDlgItem(dialog, kTreeControl);
    MoveWindow(tree, 0, 0, 200, 360, FALSE);
    EnableWindow(tree, TRUE);  // the controller does so once the roots are in
    controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CharSpyProc)));
    MakeView();
}

void TreeTest::DestroyWindows() {
    if (host) DestroyWindow(host);
    host = dialog = tree = nullptr;
}

void TreeTest::MakeView(HINSTANCE resources) {
    if (view && view->Window()) SendMessageW(tree, WM_CLOSE, 0, 0);
    auto module = reinterpret_cast<HINSTANCE>(context.module());
    view = Ref<FolderTreeView>::Adopt(new FolderTreeView(tree, model, settings, resources ? resources : module, module));
    current = view.get();
}

void TreeTest::ReleaseView() {
    current = nullptr;
    if (view) view->Unbind();
    view.Reset();
}

TVITEMW TreeTest::Item(HTREEITEM item) const {
    TVITEMW got = {};
    got.hItem = item;
    got.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    got.stateMask = TVIS_CUT;
    got.pszText = text;
    got.cchTextMax = 260;
    TreeView_GetItem(tree, &got);
    return got;
}

std::wstring TreeTest::TextOf(HTREEITEM item) const { return Item(item).pszText; }

std::vector<std::wstring> TreeTest::ChildTexts(HTREEITEM parent) const {
    std::vector<std::wstring> texts;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        texts.push_back(TextOf(item));
    return texts;
}
