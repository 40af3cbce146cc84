// Reading tags through the host's file information request, against a stand-in host window.
#include <gtest/gtest.h>

#include <map>

#include "db/FileRecord.h"
#include "host/HostApi.h"
#include "scan/TagRequest.h"

namespace {

std::map<std::wstring, std::wstring> answers;
std::vector<std::wstring> askedPaths;

LRESULT CALLBACK TagHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage && lp == kHostExtendedFileInfo) {
        auto* request = reinterpret_cast<HostFileInfoRequest*>(wp);
        askedPaths.push_back(request->path);
        auto found = answers.find(request->key);
        // An unknown key leaves the buffer as it was, as some hosts do.
        if (found != answers.end()) wcsncpy(request->buffer, found->second.c_str(), request->bufferLength - 1);
        return 1;
    }
    return DefWindowProcW(window, message, wp, lp);
}

TEST(ParseLeadingIntTest, TakesTheLeadingNumber) {
    struct Case { const wchar_t* text; int value; };
    const Case cases[] = {
        {L"7/12", 7}, {L"03/12", 3}, {L"  42", 42}, {L"-5 dB", -5}, {L"+8", 8},
        {L"", 0}, {L"abc", 0}, {L"2001-05-01", 2001}, {L"99999999999", 0x7fffffff},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << c.text;
}

TEST(ReadTagsTest, StoresEveryAnswerAndMarksTheRecordTagged) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &TagHostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CvTagHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowW(L"CvTagHost", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    answers = {{L"title", L"Hyperballad"}, {L"artist", L"Bj\u00f6rk"}, {L"album", L"Post"},
               {L"year", L"1995"},        {L"track", L"03/12"},        {L"bitrate", L"192"},
               {L"length", L"321000"},    {L"genre", L""}};
    Ref<FileRecord> made = Ref<FileRecord>::Make(L"C:\\Music\\B\\03 Hyperballad.mp3");
    FileRecord& record = *made;
    ASSERT_TRUE(ReadTags(host, record));
    EXPECT_EQ(record.Tag(TagField::kTitle).value_or(L"?"), L"Hyperballad");
    EXPECT_EQ(record.Tag(TagField::kArtist).value_or(L"?"), L"Bj\u00f6rk");
    EXPECT_EQ(record.year, 1995);
    EXPECT_EQ(record.track, 3);
    EXPECT_EQ(record.bitrate, 192);
    EXPECT_EQ(record.length, 321000);
    EXPECT_EQ(record.Tag(TagField::kGenre).value_or(L"?"), L"");
    // Unanswered: empty, not the previous key's text.
    EXPECT_EQ(record.Tag(TagField::kComment).value_or(L"?"), L"");
    EXPECT_TRUE(record.tagged);
    EXPECT_EQ(askedPaths.size(), 9u);
    EXPECT_EQ(askedPaths.front(), record.Path());
    DestroyWindow(host);
}

}  // namespace
