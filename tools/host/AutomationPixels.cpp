// Pixel checks: "pixels TARGET X Y [WIDTH HEIGHT]" prints the colours the screen shows over a
// window of the view, one line per row ("Y: RRGGBB RRGGBB ..."), read back from the display
// itself, so that what is checked is what a user sees, not what the plugin meant to draw.
#include <windows.h>

#include <vector>

#include "AutomationCommon.h"
#include "HostCapture.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "logic/PixelArea.h"
#include "logic/ScriptLine.h"

namespace {

std::wstring RowText(int y, const DWORD* row, int width) {
    std::wstring line = FormatInt(y) + L":";
    for (int x = 0; x < width; ++x)
        line += L" " + HexColor(static_cast<unsigned char>(row[x] >> 16), static_cast<unsigned char>(row[x] >> 8),
                                static_cast<unsigned char>(row[x]));
    return line;
}

void OnPixels(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    if (words.empty()) return Say(L"pixels: expected a window, X and Y, and optionally a width and a height");
    RECT frame = {};
    bool found = false;
    RunOnUi([&] {
        HWND window = FindViewTarget(words[0]);
        if (!(found = window != nullptr)) return;
        // Paints still pending reach the screen first; nothing is asked to paint again, so the
        // screen shows what the last action left there.
        RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GetWindowRect(window, &frame);
    });
    if (!found) return SayUnsupported();
    PixelArea area;
    if (!ParsePixelArea(std::vector<std::wstring>(words.begin() + 1, words.end()), frame.right - frame.left,
                        frame.bottom - frame.top, area))
        return Say(L"pixels: expected X Y [WIDTH HEIGHT], each of X and Y a number or w, h, w-N, h+N");
    SettleUi();
    Sleep(kDisplayCatchUpMs);
    RECT screenArea = {frame.left + area.x, frame.top + area.y, frame.left + area.x + area.width,
                       frame.top + area.y + area.height};
    std::vector<DWORD> pixels;
    if (!ReadScreen(screenArea, pixels)) return Say(L"pixels: the screen could not be read");
    for (int row = 0; row < area.height; ++row)
        Say(RowText(area.y + row, &pixels[static_cast<size_t>(row) * area.width], area.width));
}

}  // namespace

extern const CommandEntry kPixelCommands[] = {
    {L"pixels", &OnPixels},
    {nullptr, nullptr},
};
