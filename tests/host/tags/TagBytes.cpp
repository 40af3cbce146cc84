// Builders for hand-made tag bytes and the round trip through a real file.
#include "host/tags/TagBytes.h"

#include <windows.h>

#include <atomic>

std::wstring Fixture(const wchar_t* name) {
    return BuildFile(L"..\\testdata\\tags\\") + name;
}

std::string Be32(unsigned v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Syncsafe(unsigned v) {
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Utf16Le(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += {char(c & 0xFF), char(c >> 8)};
    return out;
}

std::string Utf16Be(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += {char(c >> 8), char(c & 0xFF)};
    return out;
}

std::string Unsync(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        out += c;
        if (static_cast<unsigned char>(c) == 0xFF) out += '\0';
    }
    return out;
}

std::string Id3v2(unsigned major, const std::string& frames, unsigned flags) {
    return std::string("ID3") + char(major) + '\0' + char(flags) + Syncsafe(unsigned(frames.size())) + frames;
}

std::string Frame23(const char* id, const std::string& data, unsigned flags) {
    return id + Be32(unsigned(data.size())) + char(flags >> 8) + char(flags) + data;
}

std::string Frame24(const char* id, const std::string& data, unsigned flags) {
    return id + Syncsafe(unsigned(data.size())) + char(flags >> 8) + char(flags) + data;
}

std::string Text(unsigned encoding, const std::string& encoded) { return char(encoding) + encoded; }

std::string Id3v1(const std::string& title, const std::string& artist, unsigned char track,
                  unsigned char genre) {
    std::string tag = "TAG" + title.substr(0, 30);
    tag.resize(33, '\0');
    tag += artist.substr(0, 30);
    tag.resize(125, '\0');
    tag += char(0);
    tag += char(track);
    tag += char(genre);
    return tag;
}

std::string SilentFrames(int count) {
    std::string frame("\xFF\xFB\x90\x00", 4);
    frame.resize(417, '\0');
    std::string out;
    for (int i = 0; i < count; ++i) out += frame;
    return out;
}

FileTags ReadBytes(const TempFolder& folder, const std::string& bytes, bool* recognised) {
    static std::atomic<int> counter{0};
    std::wstring path = folder.File(L"case" + std::to_wstring(counter++) + L".bin");
    WriteBytes(path, bytes);
    FileTags tags;
    bool ok = ReadFileTags(path, tags);
    if (recognised) *recognised = ok;
    DeleteFileW(path.c_str());
    return tags;
}
