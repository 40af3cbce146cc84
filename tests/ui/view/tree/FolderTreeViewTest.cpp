// The tree object on a real tree control: the top item, opening and closing, double-clicks,
// its command codes and keys, the settings it keeps, its icons and what it leaves behind.
#include "ui/view/tree/TreeHarness.h"

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "settings/SettingKeys.h"
#include "settings/TreeSettings.h"

namespace {

using Commands = std::vector<std::pair<WPARAM, LPARAM>>;

LRESULT Command(HWND tree, WPARAM code, LPARAM argument = 0) {
    return SendMessageW(tree, kCommandMessage, code, argument);
}

// "My Library" open, with one root folder that has a sub-folder, selected.
class TreeWithRoot : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        rootItem = AddRoot(*root);
        TreeView_Expand(tree, view->TopItem(), TVE_EXPAND);
        view->SelectItem(rootItem);
    }
    POINT LabelCentre(HTREEITEM item) {
        RECT rect = {};
        TreeView_GetItemRect(tree, item, &rect, TRUE);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    Ref<TreeNode> root = Folder(temp.File(L"Music\\"), {Folder(temp.File(L"Music\\Album\\"))});
    HTREEITEM rootItem = nullptr;
};

TEST_F(TreeTest, TopItemIsMyLibraryWithoutANode) {
    TVITEMW top = Item(view->TopItem());
    EXPECT_STREQ(top.pszText, L"My Library");
    EXPECT_EQ(top.iImage, kImageLibrary);
    EXPECT_EQ(top.iSelectedImage, kImageLibrary);
    EXPECT_EQ(view->NodeOf(view->TopItem()), nullptr);
    TreeView_DeleteAllItems(tree);
    EXPECT_NE(Command(tree, kCmdInsertTopItem), 0);
    EXPECT_EQ(TextOf(view->TopItem()), L"My Library");
}

TEST_F(TreeWithRoot, TopItemCanBeOpenedButNotClosed) {
    view->SelectItem(view->TopItem());
    PressKey(VK_SUBTRACT);
    Pump();
    EXPECT_TRUE(Expanded(view->TopItem()));
    view->SelectItem(rootItem);
    PressKey(VK_ADD);
    EXPECT_TRUE(Expanded(rootItem));
    PressKey(VK_SUBTRACT);
    Pump();
    EXPECT_FALSE(Expanded(rootItem)) << "any other item closes";
}

TEST_F(TreeWithRoot, DoubleClickPlaysTheSelectedItemInsteadOfOpeningIt) {
    HTREEITEM child = TreeView_GetChild(tree, rootItem);
    view->OnDoubleClickAt(LabelCentre(child));  // not the selected item
    RECT row = {};
    TreeView_GetItemRect(tree, rootItem, &row, FALSE);
    view->OnDoubleClickAt({row.right - 2, row.top + 2});  // beside the label
    EXPECT_FALSE(view->ToggleSuppressed());

    view->OnDoubleClickAt(LabelCentre(rootItem));
    Pump();
    EXPECT_EQ(commandsSeen, (Commands{{kCmdPlayTreeNode, kMenuPlay}}));
    PressKey(VK_ADD);
    EXPECT_FALSE(Expanded(rootItem)) << "the toggle that follows the double-click is refused";
    PressKey(VK_ADD);
    EXPECT_TRUE(Expanded(rootItem)) << "only that one";

    Command(tree, kCmdSetDoubleClick, kTreeNoDoubleClickCommand);
    view->OnDoubleClickAt(LabelCentre(rootItem));
    Pump();
    EXPECT_EQ(commandsSeen.size(), 1u) << "None leaves the item to open and close";
    EXPECT_FALSE(view->ToggleSuppressed());
}

TEST_F(TreeWithRoot, CommandsPlayFindInExplorerSelectAndClearTheDropHighlight) {
    std::vector<std::wstring> opened;
    view->SetFolderOpener([&](const std::wstring& folder) { opened.push_back(folder); });
    Command(tree, kCmdRunMenuCommand, kMenuEnqueueAndPlay);
    Command(tree, kCmdRunMenuCommand, kMenuFindFolderInExplorer);
    auto list = Ref<TreeNode>::Make(NodeKind::kPlaylist, temp.File(L"list.m3u"));
    view->SelectItem(AddRoot(*list));
    Command(tree, kCmdRunMenuCommand, kMenuFindFolderInExplorer);
    Command(tree, kCmdSelectTopItem);
    Command(tree, kCmdRunMenuCommand, kMenuFindFolderInExplorer);
    Pump();
    EXPECT_EQ(commandsSeen, (Commands{{kCmdPlayTreeNode, kMenuEnqueueAndPlay}}));
    EXPECT_EQ(opened, std::vector<std::wstring>{root->path}) << "only folders open in Explorer";
    EXPECT_EQ(TreeView_GetSelection(tree), view->TopItem());
    EXPECT_FALSE(view->SelectedNode());

    TreeView_SelectDropTarget(tree, rootItem);
    Command(tree, kCmdClearDropHighlight);
    EXPECT_EQ(TreeView_GetDropHilight(tree), nullptr);
}

TEST_F(TreeTest, CharactersTheViewOwnsDoNotReachTheControl) {
    const struct {
        wchar_t c;
        bool ctrl, reaches;
    } cases[] = {{L'\t', false, false}, {L'\r', false, false}, {L'\n', true, false}, {0x06, true, false},
                 {L'f', true, false},   {L'F', true, false},   {L'f', false, true},  {L'b', false, true}};
    BYTE keys[256] = {};
    for (const auto& c : cases) {
        charsSeen.clear();
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(tree, WM_CHAR, c.c, 1);
        EXPECT_EQ(!charsSeen.empty(), c.reaches) << int(c.c) << (c.ctrl ? " with Ctrl" : "");
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST_F(TreeTest, DoubleClickChoiceIsKeptIncludingNone) {
    EXPECT_EQ(Command(tree, kCmdGetDoubleClick), kMenuPlay) << "never saved: Play";
    Command(tree, kCmdSetDoubleClick, kTreeNoDoubleClickCommand);
    SendMessageW(tree, WM_CLOSE, 0, 0);
    EXPECT_EQ(view->Window(), nullptr) << "closing unbinds";
    EXPECT_EQ(settings.ReadInt(settings::kTreeDoubleClick), -3010);
    MakeView();
    EXPECT_EQ(Command(tree, kCmdGetDoubleClick), kTreeNoDoubleClickCommand);

    // The host's shutdown destroys the view's dialog without closing the tree first.
    Command(tree, kCmdSetDoubleClick, kMenuEnqueue);
    DestroyWindows();
    EXPECT_EQ(LoadTreeDoubleClick(settings), kMenuEnqueue);
}

// Counts the times a file in a folder is replaced by a rename onto its name, as each write of
// the settings file replaces it.
class ReplacementCounter {
public:
    ReplacementCounter(const std::wstring& folder, std::wstring name)
        : name_(std::move(name)),
          folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        overlapped_.hEvent = event_.get();
        Ask();
    }
    ~ReplacementCounter() {
        CancelIo(folder_.get());
        DWORD ignored = 0;
        GetOverlappedResult(folder_.get(), &overlapped_, &ignored, TRUE);
    }
    // Every replacement reported until none has come for a moment.
    int Count() {
        while (WaitForSingleObject(event_.get(), 300) == WAIT_OBJECT_0) {
            DWORD size = 0;
            if (!GetOverlappedResult(folder_.get(), &overlapped_, &size, FALSE)) break;
            for (DWORD at = 0; size > 0;) {
                auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (info->Action == FILE_ACTION_RENAMED_NEW_NAME && name == name_) ++count_;
                if (!info->NextEntryOffset) break;
                at += info->NextEntryOffset;
            }
            ResetEvent(event_.get());
            Ask();
        }
        return count_;
    }

private:
    void Ask() {
        ReadDirectoryChangesW(folder_.get(), buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                              &overlapped_, nullptr);
    }

    std::wstring name_;
    UniqueFileHandle folder_;
    UniqueHandle event_;
    OVERLAPPED overlapped_ = {};
    alignas(DWORD) char buffer_[8192] = {};
    int count_ = 0;
};

// Both keys reach the file in one replacement of it: a second would cost another copy,
// check and flush of the whole file at every shutdown.
TEST_F(TreeWithRoot, SelectedFolderIsSavedWhenTheTreeIsDestroyed) {
    settings.WriteText(settings::kLastSearch, L"kept");
    ReplacementCounter replacements(temp.path(), L"gen_cv.ini");
    DestroyWindows();
    EXPECT_EQ(replacements.Count(), 1);
    EXPECT_EQ(LoadTreeFolder(settings), root->path);
    EXPECT_EQ(LoadTreeDoubleClick(settings), kMenuPlay);
    EXPECT_EQ(settings.ReadText(settings::kLastSearch), L"kept");
    CreateWindows();
    Command(tree, kCmdSelectTopItem);
    DestroyWindows();
    EXPECT_EQ(LoadTreeFolder(settings), L"") << "My Library has no path";
}

// Pixels of an image that differ from a magenta backdrop when drawn transparently.
int DrawnPixels(HIMAGELIST images, int index) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    UniqueBitmap target(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(dc.get(), target.get());
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + 256, 0xFF00FFu);
    ImageList_Draw(images, index, dc.get(), 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    return static_cast<int>(std::count_if(pixels, pixels + 256, [](DWORD p) { return (p & 0xFFFFFF) != 0xFF00FF; }));
}

TEST_F(TreeTest, EightIconsShowAlsoWithALanguagePackThatHasNone) {
    UniqueModule pack(LoadLibraryExW(BuildFile(L"cv_testlang.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(pack);
    for (HMODULE resources : {context.module(), pack.get()}) {
        MakeView(reinterpret_cast<HINSTANCE>(resources));
        HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
        ASSERT_EQ(ImageList_GetImageCount(images), kTreeImageCount);
        for (int i = 0; i < kTreeImageCount; ++i) EXPECT_GT(DrawnPixels(images, i), 40) << "image " << i;
    }
}

TEST(TreeResourcesTest, NothingIsLeftBehindAfterTheTreeIsGone) {
    struct Lifetime : TreeTest {
        void TestBody() override {
            SetUp();
            auto root = Folder(temp.File(L"R\\"), {Folder(temp.File(L"R\\A\\")), Folder(temp.File(L"R\\B\\"))});
            view->SelectItem(AddRoot(*root));
            TreeView_Expand(tree, view->TopItem(), TVE_EXPAND);
            RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            TearDown();
        }
    };
    Lifetime().TestBody();  // the first life loads what stays: classes, fonts, the control's own objects
    auto before = GuiObjectsNow();
    Lifetime().TestBody();
    auto after = GuiObjectsNow();
    EXPECT_GT(before.first, 0u) << "the counts must count something";
    EXPECT_EQ(after.first, before.first) << "GDI objects";
    EXPECT_EQ(after.second, before.second) << "USER objects";
}

}  // namespace
