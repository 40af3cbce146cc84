// A real file list for the list tests: a report list in owner-data, owner-drawn mode inside a
// top-level window whose procedure forwards the list's notifications and drawing as the view
// does, a fake view model with rows, and a recorder registered as the view.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/SettingsFile.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"
#include "ui/view/FileListView.h"
#include "ui/view/RowSorting.h"
#include "ui/view/ViewModel.h"

// The controller as far as the list asks it.
class FakeListModel : public ViewModel {
public:
    Ref<FileRecord> RowAt(int index) override;
    Ref<RowList> CurrentRows() override { return rows; }
    Ref<TreeNode> SelectedNode() override { return node; }
    int DefaultSortKey() const override { return defaultKey; }
    void SetDefaultSortKey(int key) override { defaultKey = key; }
    void SortRows(const Ref<RowList>& list) override;
    const MainViewOptions& Options() const override { return options; }
    const SkinColors& Colors() const override { return colors; }
    std::wstring PlayingPath() const override { return playing; }

    Ref<RowList> rows = Ref<RowList>::Make();
    Ref<TreeNode> node;
    int defaultKey = 1;
    int sorts = 0;
    MainViewOptions options;
    SkinColors colors;
    std::wstring playing;
};

// Skin colours picked so that every one the list uses is told apart from the others.
namespace listcolors {
constexpr COLORREF kBackground = RGB(40, 40, 40);
constexpr COLORREF kText = RGB(250, 250, 0);
constexpr COLORREF kHeaderBackground = RGB(90, 0, 90);
constexpr COLORREF kHeaderText = RGB(255, 255, 255);
constexpr COLORREF kHeaderEmpty = RGB(0, 90, 0);
constexpr COLORREF kPlayingText = RGB(0, 250, 250);
constexpr COLORREF kSelection = RGB(0, 0, 200);
}  // namespace listcolors

void Pump();

class ListTest : public testing::Test {
public:
    // Command codes (or WM_SETCURSOR) that reached the window registered as the view.
    static std::vector<WPARAM> viewSaw;
    // Characters that reached the list control's own procedure.
    static std::vector<wchar_t> controlChars;

protected:
    void SetUp() override;
    void TearDown() override;

    // The window and the list in it, bound to a new list object.
    void CreateList();
    // Closes the list (saving its settings) and destroys the windows.
    void CloseList();
    void UseSkinColors();
    // Rows with these titles under C:\Music\.
    void SetRows(const std::vector<std::wstring>& titles);
    std::vector<std::wstring> RowTitles() const;
    std::wstring IniValue(const wchar_t* section, const wchar_t* key) const;
    void WriteIni(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;
    LRESULT Command(WPARAM code, LPARAM argument = 0) const;

    TempFolder temp;
    ScopedPluginContext context{temp.File(L"docs")};
    SettingsFile settings{temp.File(L"gen_cv.ini")};
    FakeListModel model;
    HWND host = nullptr;
    HWND list = nullptr;
    HWND viewWindow = nullptr;
    Ref<FileListView> view;
};
