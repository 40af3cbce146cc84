// Parsing of automation script lines.
#include "ScriptLine.h"

#include <windows.h>

#include <cwctype>

namespace {

std::wstring Trim(const std::wstring& text) {
    size_t first = 0;
    while (first < text.size() && std::iswspace(text[first])) ++first;
    size_t last = text.size();
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// "a, b,c" as its trimmed parts; an empty text is one empty part.
std::vector<std::wstring> CommaParts(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) comma = text.size();
        parts.push_back(Trim(text.substr(start, comma - start)));
        start = comma + 1;
    }
    return parts;
}

}  // namespace

ScriptLine ParseScriptLine(const std::wstring& line) {
    ScriptLine parsed;
    std::wstring text = Trim(line);
    if (text.empty() || text[0] == L'#') return parsed;
    size_t end = 0;
    while (end < text.size() && !std::iswspace(text[end])) ++end;
    for (size_t i = 0; i < end; ++i) parsed.name += static_cast<wchar_t>(std::towlower(text[i]));
    parsed.argument = Trim(text.substr(end));
    return parsed;
}

bool ParseInt(const std::wstring& text, int& out) {
    std::wstring t = Trim(text);
    if (t.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (t[0] == L'-' || t[0] == L'+') {
        negative = t[0] == L'-';
        i = 1;
    }
    if (i == t.size()) return false;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < L'0' || t[i] > L'9') return false;
        value = value * 10 + (t[i] - L'0');
        if (value > 0x7fffffff) return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

bool ParseIndexList(const std::wstring& text, std::vector<int>& out) {
    out.clear();
    for (const std::wstring& part : CommaParts(text)) {
        int value = 0;
        if (!ParseInt(part, value)) return false;
        out.push_back(value);
    }
    return !out.empty();
}

std::vector<std::wstring> SplitWords(const std::wstring& text) {
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::iswspace(text[i])) ++i;
        if (i == text.size()) break;
        std::wstring word;
        if (text[i] == L'"') {
            size_t close = text.find(L'"', i + 1);
            if (close == std::wstring::npos) close = text.size();
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < text.size() && !std::iswspace(text[i])) word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

std::wstring EscapeForLine(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r') {
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            out += L"\\n";
        } else if (c == L'\n') {
            out += L"\\n";
        } else if (c == L'\t') {
            out += L"\\t";
        } else {
            out += c;
        }
    }
    return out;
}

int BoxButtonOfWord(const std::wstring& word) {
    static const struct {
        const wchar_t* word;
        int button;
    } kWords[] = {{L"yes", IDYES},     {L"no", IDNO},         {L"cancel", IDCANCEL}, {L"ok", IDOK},
                  {L"retry", IDRETRY}, {L"ignore", IDIGNORE}, {L"abort", IDABORT}};
    for (const auto& entry : kWords)
        if (word == entry.word) return entry.button;
    return 0;
}

bool ParseRowClicks(const std::wstring& text, std::vector<RowClick>& out) {
    out.clear();
    for (const std::wstring& part : CommaParts(text)) {
        size_t dash = part.find(L'-', 1);  // a leading '-' belongs to a number
        bool extend = !out.empty();
        int first = 0, last = 0;
        if (dash == std::wstring::npos) {
            if (!ParseInt(part, first)) return false;
            out.push_back({first, extend, false});
        } else {
            if (!ParseInt(part.substr(0, dash), first) || !ParseInt(part.substr(dash + 1), last)) return false;
            out.push_back({first, extend, false});
            out.push_back({last, extend, true});
        }
    }
    return !out.empty();
}

bool ParseClickTarget(const std::wstring& text, ClickTarget& out) {
    out = ClickTarget();
    std::wstring trimmed = Trim(text);
    size_t colon = trimmed.find(L':');
    out.control = trimmed.substr(0, colon);
    if (colon != std::wstring::npos) out.detail = trimmed.substr(colon + 1);
    if (out.control == L"tree") return true;
    if (out.control != L"list" && out.control != L"header") return false;
    if (out.detail.empty()) return true;
    return ParseInt(out.detail, out.index) && out.index >= 0;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
