// The four pages of the plugin's preferences, each a dialog of the plugin's module created as
// a child of the container's tab control, and the dialog ids the resources give them.
#pragma once

#include <windows.h>

constexpr int kGeneralPageDialogId = 107;
constexpr int kDisplaySearchPageDialogId = 112;
constexpr int kAppearancePageDialogId = 128;
constexpr int kAboutPageDialogId = 132;

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK DisplaySearchPageProc(HWND page, UINT message, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK AppearancePageProc(HWND page, UINT message, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wp, LPARAM lp);
