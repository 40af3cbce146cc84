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

// The text the profile functions read from an 8-bit file. A mark of UTF-8 is honoured: whoever
// wrote it meant the file as UTF-8.
std::wstring DecodeEightBit(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark)) return Utf8ToWide(bytes.substr(kUtf8Mark.size()));
    return CodePageToWide(bytes);
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
    if (!IsUtf16(old) && !CodePageHolds(value)) copy = EncodeUtf16(DecodeEightBit(old));
    EndWithLineBreak(copy);
    return copy;
}
