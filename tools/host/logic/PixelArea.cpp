// Reading the area of a "pixels" command and writing the colours it prints.
#include "logic/PixelArea.h"

#include <cwchar>

#include "logic/ScriptLine.h"

namespace {

constexpr int kMaxSide = 256;

bool ParseCoordinate(const std::wstring& text, int width, int height, int& value) {
    if (text.empty()) return false;
    int base = 0;
    std::wstring rest = text;
    if (text[0] == L'w' || text[0] == L'h') {
        base = text[0] == L'w' ? width : height;
        rest = text.substr(1);
        if (rest.empty()) {
            value = base;
            return true;
        }
        // After the letter only a signed offset may follow.
        if (rest[0] != L'+' && rest[0] != L'-') return false;
    }
    int offset = 0;
    if (!ParseInt(rest, offset)) return false;
    value = base + offset;
    return true;
}

}  // namespace

bool ParsePixelArea(const std::vector<std::wstring>& words, int windowWidth, int windowHeight, PixelArea& area) {
    if (words.size() != 2 && words.size() != 4) return false;
    PixelArea parsed;
    if (!ParseCoordinate(words[0], windowWidth, windowHeight, parsed.x) ||
        !ParseCoordinate(words[1], windowWidth, windowHeight, parsed.y))
        return false;
    if (words.size() == 4 && (!ParseInt(words[2], parsed.width) || !ParseInt(words[3], parsed.height)))
        return false;
    if (parsed.width < 1 || parsed.height < 1 || parsed.width > kMaxSide || parsed.height > kMaxSide) return false;
    area = parsed;
    return true;
}

std::wstring HexColor(unsigned char red, unsigned char green, unsigned char blue) {
    wchar_t text[8] = {};
    swprintf(text, 8, L"%02X%02X%02X", red, green, blue);
    return text;
}
