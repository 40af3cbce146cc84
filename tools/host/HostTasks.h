// Running functions on the user-interface thread from the automation threads. The windows,
// controls and the plugin's objects belong to that thread, so every look at them and every
// action on them is done there.
#pragma once

#include <windows.h>

#include <functional>

// Creates the hidden window that receives the tasks; on the user-interface thread.
void CreateTaskWindow(HINSTANCE instance);
void DestroyTaskWindow();
HWND TaskWindow();

// Runs task on the user-interface thread and waits for it. The task is delivered as a sent
// message, so it also runs while that thread sits in a modal loop (a message box, a dialog).
// A task must therefore never wait for user input itself: actions that may open modal
// windows are posted from inside the task.
void RunOnUi(std::function<void()> task);
// Hands task to the user-interface thread's message loop without waiting: for actions that
// run a modal loop of their own (a drag), which a waiting caller could not steer.
void PostToUi(std::function<void()> task);
