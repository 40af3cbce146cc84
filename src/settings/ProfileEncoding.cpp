// Turning an 8-bit settings file into UTF-16 when a value needs it.
#include "settings/ProfileEncoding.h"

#include <windows.h>

#include "base/Text.h"

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool IsUtf16(std::string_view bytes) { return StartsWith(bytes, kUtf16LeMark) || StartsWith(bytes, kUtf16BeMark); }

std::wstring FromCodePage(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string ToCodePage(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A round trip rather than the lost-character flag: the conversion quietly writes a look-alike
// ("W" for a full-width "Ｗ"), and some code pages refuse the flag altogether.
bool SurvivesCodePage(std::wstring_view value) { return FromCodePage(ToCodePage(value)) == value; }

// The text the profile functions read from an 8-bit file. A mark of UTF-8 is honoured: whoever
// wrote it meant the file as UTF-8.
std::wstring DecodeEightBit(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark)) return Utf8ToWide(bytes.substr(kUtf8Mark.size()));
    return FromCodePage(bytes);
}

std::string EncodeUtf16(std::wstring_view text) {
    std::string bytes(kUtf16LeMark);
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

// A file edited by hand, or in place by the profile functions, may lack the last line's break.
void EndWithLineBreak(std::string& bytes) {
    if (StartsWith(bytes, kUtf16LeMark)) {
        if (bytes.size() > kUtf16LeMark.size() && bytes.compare(bytes.size() - 2, 2, std::string_view("\n\0", 2)) != 0)
            bytes.append("\r\0\n\0", 4);
    } else if (StartsWith(bytes, kUtf16BeMark)) {
        if (bytes.size() > kUtf16BeMark.size() && bytes.compare(bytes.size() - 2, 2, std::string_view("\0\n", 2)) != 0)
            bytes.append("\0\r\0\n", 4);
    } else if (!bytes.empty() && bytes.back() != '\n') {
        bytes += "\r\n";
    }
}

}  // namespace

std::string ProfileCopyFor(std::string_view old, std::wstring_view value) {
    std::string copy(old);
    if (!IsUtf16(old) && !SurvivesCodePage(value)) copy = EncodeUtf16(DecodeEightBit(old));
    EndWithLineBreak(copy);
    return copy;
}
