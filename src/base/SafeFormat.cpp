// The tolerant template formatter.
#include "base/SafeFormat.h"

#include <cstdio>

namespace {

struct Spec {
    bool zero = false;
    bool left = false;
    int width = 0;
    int precision = -1;
};

std::wstring Pad(std::wstring text, const Spec& spec, bool numeric) {
    if (static_cast<int>(text.size()) >= spec.width) return text;
    size_t fill = static_cast<size_t>(spec.width) - text.size();
    if (spec.left) return text + std::wstring(fill, L' ');
    if (spec.zero && numeric) {
        size_t sign = !text.empty() && text[0] == L'-' ? 1 : 0;
        return text.insert(sign, fill, L'0');
    }
    return std::wstring(fill, L' ') + text;
}

std::wstring Render(const FormatArg& arg, const Spec& spec, bool& numeric) {
    numeric = !std::holds_alternative<std::wstring>(arg) && !std::holds_alternative<wchar_t>(arg);
    if (auto* n = std::get_if<long long>(&arg)) return std::to_wstring(*n);
    if (auto* c = std::get_if<wchar_t>(&arg)) return std::wstring(1, *c);
    if (auto* s = std::get_if<std::wstring>(&arg))
        return spec.precision >= 0 ? s->substr(0, static_cast<size_t>(spec.precision)) : *s;
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.*f", spec.precision >= 0 ? spec.precision : 6, std::get<double>(arg));
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
        Spec spec;
        for (; j < format.size() && (format[j] == L'0' || format[j] == L'-'); ++j)
            (format[j] == L'0' ? spec.zero : spec.left) = true;
        for (; j < format.size() && iswdigit(format[j]); ++j) spec.width = spec.width * 10 + (format[j] - L'0');
        if (j < format.size() && format[j] == L'.') {
            spec.precision = 0;
            for (++j; j < format.size() && iswdigit(format[j]); ++j)
                spec.precision = spec.precision * 10 + (format[j] - L'0');
        }
        if (j >= format.size() || !wcschr(L"diusSfCc", format[j])) {
            out += format.substr(i, j - i + (j < format.size() ? 1 : 0));
            i = j;
            continue;
        }
        if (next < args.size()) {
            bool numeric = false;
            std::wstring text = Render(args[next++], spec, numeric);
            out += Pad(std::move(text), spec, numeric);
        }
        i = j;
    }
    return out;
}
