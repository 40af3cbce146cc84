// Frame windows the host makes for plugins on request, each tied to the plugin's record.
#pragma once

#include <windows.h>

#include <vector>

std::vector<HWND> HostFrames();
void DestroyFrames();
// Answers false, after printing it, when a plugin freed a frame's record while the frame
// still existed and the host had to write into it.
bool FrameRecordsHeld();

LRESULT OnCreateFrame(WPARAM record);
LRESULT OnIsFrameWindow(WPARAM window);
