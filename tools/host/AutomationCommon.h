// What the automation's command families share: the command table entry, output helpers,
// finding the plugin's view, and waiting for the user-interface thread to settle.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

using CommandHandler = void (*)(const std::wstring& argument);

struct CommandEntry {
    const wchar_t* name;
    CommandHandler handler;
};

// The command tables of each family, each ending with a null name.
extern const CommandEntry kViewCommands[];
extern const CommandEntry kInputCommands[];
extern const CommandEntry kMenuCommands[];
extern const CommandEntry kDialogCommands[];
extern const CommandEntry kDropCommands[];
extern const CommandEntry kBoxCommands[];
extern const CommandEntry kHostCommands[];
extern const CommandEntry kTagCommands[];
extern const CommandEntry kScrollbarCommands[];
extern const CommandEntry kPixelCommands[];
extern const CommandEntry kContrastCommands[];

// Wine hands a window's new pixels to the display once its thread is idle again; this is
// ample for that hand-over on a loaded machine.
constexpr DWORD kDisplayCatchUpMs = 150;

void Say(const std::wstring& line);
void SayUnsupported();

// Controls of the view: dialog 101 inside the plugin's frame, and its children.
enum ViewControlId : int {
    kViewDialogId = 101,
    kTreeId = 1001,
    kListId = 1002,
    kSearchId = 1003,
    kClearId = 1004,
    kSearchLabelId = 1014,
    kStatusId = 1019,
};

// On the user-interface thread: the frame (the first the plugin asked for), dialog 101 in it,
// and a control of that dialog; null when missing.
HWND FindFrame();
HWND FindViewDialog();
HWND FindViewControl(int id);
// On the user-interface thread: a window of the view a script names: "clear", "search",
// "tree", "list", "view" (dialog 101) or "frame"; null for another name or a missing window.
HWND FindViewTarget(const std::wstring& name);
// On the user-interface thread: the tree item a path names, matched by its trailing
// components against the items' names ("My Library" is the top item).
HTREEITEM FindTreeItemByPath(HWND tree, const std::wstring& path);
// On the user-interface thread: client points of a control where the user's mouse would go
// (see AutomationPoints.cpp); false when there is no such item, row, column or free space.
bool PointOnTreeItem(HWND tree, const std::wstring& path, POINT& at);
bool PointOnListRow(HWND list, int row, POINT& at);
bool PointOnHeaderColumn(HWND header, int column, POINT& at);
bool PointInEmptySpace(HWND control, bool tree, POINT& at);
// Whether a click at the client point would reach the control, not a window covering it.
bool PointIsOnControl(HWND control, POINT client);
// The same, asked from the script thread.
HWND ViewControlFromScript(int id);

// Posts a marker behind whatever the last action posted to the user-interface thread and
// waits until it is delivered, so that the effects of posted input have been handled (or a
// modal loop has taken over) before the next command looks.
void SettleUi(DWORD timeoutMs = 3000);

// Lets "add-root" steer the plugin's folder browser; with the other automation hooks.
void InstallAddRootHooks(HMODULE plugin);

// Popup menus opened through the hooks: the next command other than "choose" closes them.
void CancelOpenMenu();
bool MenuIsOpen();
// The popup windows of the open menu levels, outermost first as the system lists them.
std::vector<HWND> OpenMenuWindows();

void StopMessageBoxWatcherThread();

// Top-level dialogs of this process that are message boxes.
bool IsMessageBox(HWND window);
// Boxes showing, answered or not; and whether one of them still waits for its answer.
int PendingMessageBoxes();
bool UnansweredMessageBox();
// The script's progress, which decides when a box was expected by nobody: the script runs;
// it is about to act (every box still unanswered is then dismissed as unexpected); it ended.
void ScriptRuns();
void ScriptActs();
void ScriptEnded();
// The answer words of the "answer" lines the script starts with, which answer boxes of the
// plugin's start-up, shown before the script itself can run.
std::vector<std::wstring> LeadingScriptAnswers();

std::wstring WindowTextOf(HWND window);
std::wstring ClassNameOf(HWND window);
