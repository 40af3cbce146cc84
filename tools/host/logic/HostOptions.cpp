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

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::wstring>& args) {
    HostOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == L"--no-services") {
            options.services = false;
        } else if (arg == L"--plugin" || arg == L"--documents" || arg == L"--script" ||
                   arg == L"--version") {
            if (!hasValue) {
                options.error = arg + L" needs a value";
                return options;
            }
            const std::wstring& value = args[++i];
            if (arg == L"--plugin") options.plugin = value;
            else if (arg == L"--documents") options.documents = value;
            else if (arg == L"--script") options.script = value;
            else if (!ParseHex(value, options.version)) options.error = L"--version takes a hexadecimal number";
        } else {
            options.error = L"unknown argument " + arg;
        }
        if (!options.error.empty()) return options;
    }
    if (options.plugin.empty()) options.error = L"--plugin is required";
    return options;
}

std::wstring HostUsage() {
    return L"usage: cvhost.exe --plugin PATH [--documents DIR] [--version HEX] [--script FILE] "
           L"[--no-services]\n"
           L"script: one command a line (add-root, wait-idle, select, search, key, select-rows ROWS, "
           L"dblclick-row, click-header, drop, list, tree, status, answer WORD, quit, ...).\n"
           L"menus: right-click tree[:PATH]|list[:ROW]|header[:COLUMN] and menu-key tree|list "
           L"[Apps|Shift+F10] open a context menu as a user does; menu tree|list|header|host|editor; "
           L"choose CAPTION|#ID walks it with the keys.\n"
           L"  an open menu prints a line an item: DEPTH<TAB>ID<TAB>CAPTION<TAB>STATES, states from "
           L"checked,greyed,default,submenu,owner-drawn; an owner-drawn item on screen adds "
           L"<TAB>WIDTHxHEIGHT.\n"
           L"boxes: each prints \"box: CAPTION: TEXT\"; one the script does not answer before it acts "
           L"again prints \"unexpected box: ...\", is dismissed, and the host exits with 3.\n"
           L"screenshot FILE [frame|main|playlist|prefs|dialog|menu]; menu: the frame with the open menu over it.\n"
           L"dialogs: answer-folder PATH makes the next folder browser the plugin opens pick PATH "
           L"and press OK.";
}
