// Text conversions and case-insensitive comparisons built on the Win32 string functions.
#include "base/Text.h"

#include <windows.h>

#include <algorithm>

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring CodePageToWide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToCodePage(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A round trip rather than the lost-character flag: the conversion quietly writes a look-alike
// for what it lacks, and some code pages refuse the flag altogether.
bool CodePageHolds(std::wstring_view text) { return CodePageToWide(WideToCodePage(text)) == text; }

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring ToLower(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool SharedPrefixEqualsNoCase(std::wstring_view a, std::wstring_view b) {
    size_t n = std::min(a.size(), b.size());
    return EqualsNoCase(a.substr(0, n), b.substr(0, n));
}

std::wstring FormatInt(long long value) { return std::to_wstring(value); }

std::wstring FormatWithInt(std::wstring_view format, long long value) {
    std::wstring out;
    bool used = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            wchar_t next = format[i + 1];
            if (next == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if ((next == L'd' || next == L'i') && !used) {
                out += std::to_wstring(value);
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}
