// The tolerant template formatter.
#include "base/SafeFormat.h"

#include <algorithm>
#include <cstdio>

namespace {

// A pack's "%100000000d" would otherwise build a status line of hundreds of megabytes (and a
// longer run of digits overflow the count); no text the plugin shows needs more than this.
constexpr int kMostWidth = 256;
// Enough for any double's digits at the widest precision allowed for it.
constexpr int kMostFractionDigits = 64;
constexpr size_t kNumberBuffer = 400;

// Reads a run of digits, stopping the count at the cap.
int ReadCount(std::wstring_view format, size_t& j) {
    int count = 0;
    for (; j < format.size() && iswdigit(format[j]); ++j) count = std::min(count * 10 + (format[j] - L'0'), kMostWidth);
    return count;
}

struct Conversion {
    bool zero = false;
    bool left = false;
    int width = 0;
    int precision = -1;
};

std::wstring Pad(std::wstring text, const Conversion& conversion, bool numeric) {
    if (static_cast<int>(text.size()) >= conversion.width) return text;
    size_t fill = static_cast<size_t>(conversion.width) - text.size();
    if (conversion.left) return text + std::wstring(fill, L' ');
    if (conversion.zero && numeric) {
        size_t sign = !text.empty() && text[0] == L'-' ? 1 : 0;
        return text.insert(sign, fill, L'0');
    }
    return std::wstring(fill, L' ') + text;
}

std::wstring Render(const FormatArg& arg, const Conversion& conversion, bool& numeric) {
    numeric = !std::holds_alternative<std::wstring>(arg) && !std::holds_alternative<wchar_t>(arg);
    if (auto* n = std::get_if<long long>(&arg)) return std::to_wstring(*n);
    if (auto* c = std::get_if<wchar_t>(&arg)) return std::wstring(1, *c);
    if (auto* s = std::get_if<std::wstring>(&arg))
        return conversion.precision >= 0 ? s->substr(0, static_cast<size_t>(conversion.precision)) : *s;
    wchar_t buffer[kNumberBuffer] = {};
    int digits = conversion.precision >= 0 ? std::min(conversion.precision, kMostFractionDigits) : 6;
    swprintf(buffer, kNumberBuffer, L"%.*f", digits, std::get<double>(arg));
    return buffer;
}

}  // namespace

std::wstring SafeFormat(std::wstring_view format, const std::vector<FormatArg>& args) {
    std::wstring out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            out += format[i];
            continue;
        }
        size_t j = i + 1;
        if (j < format.size() && format[j] == L'%') {
            out += L'%';
            i = j;
            continue;
        }
        Conversion conversion;
        for (; j < format.size() && (format[j] == L'0' || format[j] == L'-'); ++j)
            (format[j] == L'0' ? conversion.zero : conversion.left) = true;
        conversion.width = ReadCount(format, j);
        if (j < format.size() && format[j] == L'.') conversion.precision = ReadCount(format, ++j);
        if (j >= format.size() || !wcschr(L"diusSfCc", format[j])) {
            out += format.substr(i, j - i + (j < format.size() ? 1 : 0));
            i = j;
            continue;
        }
        if (next < args.size()) {
            bool numeric = false;
            std::wstring text = Render(args[next++], conversion, numeric);
            out += Pad(std::move(text), conversion, numeric);
        }
        i = j;
    }
    return out;
}
