// Command-line parsing of the stand-in host.
#include "HostOptions.h"

#include <cwchar>

namespace {

bool ParseHex(const std::wstring& text, unsigned& out) {
    std::wstring digits = text;
    if (digits.size() > 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 8) return false;
    unsigned value = 0;
    for (wchar_t c : digits) {
        unsigned d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        value = value * 16 + d;
    }
    out = value;
    return true;
}

// The options that take a value, and where each goes; answers an error text or nothing.
std::wstring ApplyValue(const std::wstring& name, const std::wstring& value, HostOptions& options) {
    if (name == L"--plugin") options.plugin = value;
    else if (name == L"--documents") options.documents = value;
    else if (name == L"--script") options.script = value;
    else if (name == L"--skin") options.skin = value;
    else if (name == L"--version") return ParseHex(value, options.version) ? L"" : L"--version takes a hexadecimal number";
    else if (name == L"--tag-delay") return ParseTagDelay(value, options.tagDelay) ? L"" : L"--tag-delay takes milliseconds or never";
    else if (name == L"--tag-delay-file") options.tagDelayFile = value;
    else if (name == L"--file-info-answer") return ParseUnsigned(value, options.fileInfoAnswer) ? L"" : L"--file-info-answer takes a number";
    else if (name == L"--start-delay") return ParseUnsigned(value, options.startDelayMs) ? L"" : L"--start-delay takes milliseconds";
    else if (name == L"--track-ms") return ParseUnsigned(value, options.trackMs) ? L"" : L"--track-ms takes milliseconds";
    else return L"unknown argument " + name;
    return L"";
}

bool TakesValue(const std::wstring& arg) {
    for (const wchar_t* name : {L"--plugin", L"--documents", L"--script", L"--skin", L"--version", L"--tag-delay",
                                L"--tag-delay-file", L"--file-info-answer", L"--start-delay", L"--track-ms"})
        if (arg == name) return true;
    return false;
}

}  // namespace

bool ParseUnsigned(const std::wstring& text, unsigned& out) {
    if (text.empty() || text.size() > 9) return false;
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    out = value;
    return true;
}

bool ParseTagDelay(const std::wstring& text, TagDelay& out) {
    if (text == L"never") {
        out = TagDelay{0, true};
        return true;
    }
    unsigned ms = 0;
    if (!ParseUnsigned(text, ms)) return false;
    out = TagDelay{ms, false};
    return true;
}

HostOptions ParseHostOptions(const std::vector<std::wstring>& args) {
    HostOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == L"--no-services") {
            options.services = false;
        } else if (arg == L"--no-frame") {
            options.noFrame = true;
        } else if (arg == L"--no-skin") {
            options.noSkin = true;
        } else if (arg == L"--tag-garbage") {
            options.tagGarbage = true;
        } else if (arg == L"--other-plugin") {
            options.otherPlugin = true;
        } else if (TakesValue(arg)) {
            if (!hasValue) {
                options.error = arg + L" needs a value";
                return options;
            }
            options.error = ApplyValue(arg, args[++i], options);
        } else {
            options.error = L"unknown argument " + arg;
        }
        if (!options.error.empty()) return options;
    }
    if (options.plugin.empty()) options.error = L"--plugin is required";
    return options;
}

std::wstring HostUsage() {
    return L"usage: cvhost.exe --plugin PATH [--documents DIR] [--version HEX] [--script FILE] [--skin FILE.bmp] "
           L"[--no-services] [--tag-delay MS|never] [--tag-delay-file NAME] [--file-info-answer N] "
           L"[--start-delay MS] [--track-ms MS] [--no-frame] [--no-skin] [--tag-garbage] [--other-plugin]\n"
           L"script: one command a line (add-root, wait-idle, select, search, key, select-rows ROWS, "
           L"dblclick-row, click-header, drop [--shift], list, tree, status, wait-status MS TEXT, answer WORD, "
           L"quit, ...).\n"
           L"menus: right-click tree[:PATH]|list[:ROW]|header[:COLUMN] and menu-key tree|list "
           L"[Apps|Shift+F10] open a context menu as a user does; menu tree|list|header|host|editor; "
           L"choose CAPTION|#ID walks it with the keys.\n"
           L"  an open menu prints a line an item: DEPTH<TAB>ID<TAB>CAPTION<TAB>STATES, states from "
           L"checked,greyed,default,submenu,owner-drawn; an owner-drawn item on screen adds "
           L"<TAB>WIDTHxHEIGHT.\n"
           L"boxes: each prints \"box: CAPTION: TEXT\"; one the script does not answer before it acts "
           L"again prints \"unexpected box: ...\", is dismissed, and the host exits with 3.\n"
           L"screenshot FILE [frame|main|playlist|prefs|dialog|menu]; menu: the frame with the open menu over it.\n"
           L"pixels clear|search|tree|list|view|frame X Y [W H]: the screen's colours over that window "
           L"(frame included), a line a row \"Y: RRGGBB ...\"; X and Y count from the window's left and "
           L"top, or from its right and bottom as w-N, h+N. mouse-down TARGET holds the left button in "
           L"its middle until mouse-up TARGET; skin-change switches the player's skin between its own two, "
           L"skin default|dark|FILE.bmp wears the one named; contrast TARGET X Y W H: the text and "
           L"background colours in that area and their contrast ratio.\n"
           L"dialogs: answer-folder PATH makes the next folder browser the plugin opens pick PATH "
           L"and press OK.\n"
           L"--other-plugin: a second plugin hooks the host's windows and the common controls' scroll imports "
           L"once the plugin's frame exists and quits after the plugin was unloaded; the host reports every hook "
           L"cut out and every procedure or import that leads into the unloaded plugin.";
}
