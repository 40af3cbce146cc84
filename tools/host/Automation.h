// The automation mode of the host: a script of commands run against the plugin's windows,
// the answering of its message boxes, and the hooks that make its popup menus scriptable.
#pragma once

#include <windows.h>

#include <string>

// Before the plugin starts: its start-up may already show a message box.
void StartMessageBoxWatcher();
// After loading the plugin and before starting it.
void InstallAutomationHooks(HMODULE plugin);
// After the plugin started: runs the script on its own thread.
void StartScript(const std::wstring& path);
// After the plugin was unloaded: ends the automation threads.
void StopAutomation();
// After StopAutomation: the message boxes nobody answered, each of which fails the run.
int UnexpectedMessageBoxes();

// The host's exit code when the plugin ran but the script met a box it did not answer.
constexpr int kExitUnexpectedBox = 3;
