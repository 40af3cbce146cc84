// Key chord parsing for the automation's key command.
#include "KeyNames.h"

#include <windows.h>

#include <cwctype>

#include "ScriptLine.h"

namespace {

struct NamedKey {
    const wchar_t* name;
    unsigned virtualKey;
};

const NamedKey kNamedKeys[] = {
    {L"enter", VK_RETURN},   {L"return", VK_RETURN},  {L"escape", VK_ESCAPE},
    {L"esc", VK_ESCAPE},     {L"tab", VK_TAB},        {L"space", VK_SPACE},
    {L"backspace", VK_BACK}, {L"delete", VK_DELETE},  {L"del", VK_DELETE},
    {L"insert", VK_INSERT},  {L"ins", VK_INSERT},     {L"home", VK_HOME},
    {L"end", VK_END},        {L"pageup", VK_PRIOR},   {L"pgup", VK_PRIOR},
    {L"pagedown", VK_NEXT},  {L"pgdn", VK_NEXT},      {L"up", VK_UP},
    {L"down", VK_DOWN},      {L"left", VK_LEFT},      {L"right", VK_RIGHT},
    {L"apps", VK_APPS},      {L"menu", VK_APPS},
};

std::wstring Lower(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) out += static_cast<wchar_t>(std::towlower(c));
    return out;
}

bool KeyFromName(const std::wstring& name, unsigned& key) {
    std::wstring lower = Lower(name);
    for (const NamedKey& named : kNamedKeys) {
        if (lower == named.name) {
            key = named.virtualKey;
            return true;
        }
    }
    if (lower.size() == 1) {
        wchar_t c = lower[0];
        if (c >= L'a' && c <= L'z') key = 'A' + (c - L'a');
        else if (c >= L'0' && c <= L'9') key = c;
        else return false;
        return true;
    }
    int number = 0;
    if (lower[0] == L'f' && ParseInt(lower.substr(1), number) && number >= 1 && number <= 24) {
        key = VK_F1 + number - 1;
        return true;
    }
    return false;
}

}  // namespace

bool ParseKeyChord(const std::wstring& text, KeyChord& out) {
    out = KeyChord();
    bool haveKey = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t plus = text.find(L'+', start);
        // A trailing "+" is the plus key itself, which scripts do not need: treat it as an error.
        if (plus == start) return false;
        if (plus == std::wstring::npos) plus = text.size();
        std::wstring part = Lower(text.substr(start, plus - start));
        start = plus + 1;
        if (part == L"ctrl" || part == L"control") out.ctrl = true;
        else if (part == L"shift") out.shift = true;
        else if (part == L"alt") out.alt = true;
        else if (haveKey || !KeyFromName(part, out.virtualKey)) return false;
        else haveKey = true;
    }
    return haveKey;
}

bool ParseKeySequence(const std::wstring& text, std::vector<KeyChord>& out) {
    out.clear();
    for (const std::wstring& word : SplitWords(text)) {
        KeyChord chord;
        if (!ParseKeyChord(word, chord)) return false;
        out.push_back(chord);
    }
    return !out.empty();
}
