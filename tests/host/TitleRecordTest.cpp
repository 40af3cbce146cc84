// The title formatting record as the plugin builds it, checked against the stand-in host's own
// declaration of the player's layout, and the plugin's title path driven by a host reading it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "db/FileRecord.h"
#include "host/HostApi.h"
#include "scan/TitleTag.h"
#include "../../tools/host/HostTitleRecord.h"

namespace {

TEST(TitleRecordTest, PluginLayoutMatchesTheHostsOwn) {
    using Theirs = standin::TitleRecord;
    EXPECT_EQ(sizeof(HostTitleRequest), sizeof(Theirs));
    struct Field { const char* name; size_t ours, theirs; };
    const Field fields[] = {
        {"file name", offsetof(HostTitleRequest, path), offsetof(Theirs, filename)},
        {"extended info", offsetof(HostTitleRequest, useExtendedInfo), offsetof(Theirs, useExtendedInfo)},
        {"format", offsetof(HostTitleRequest, format), offsetof(Theirs, titleFormat)},
        {"context", offsetof(HostTitleRequest, context), offsetof(Theirs, callbackContext)},
        {"out", offsetof(HostTitleRequest, out), offsetof(Theirs, out)},
        {"out length", offsetof(HostTitleRequest, outLength), offsetof(Theirs, outLength)},
        {"tag callback", offsetof(HostTitleRequest, tagCallback), offsetof(Theirs, tagCallback)},
        {"free callback", offsetof(HostTitleRequest, freeCallback), offsetof(Theirs, freeCallback)},
    };
    for (const Field& f : fields) EXPECT_EQ(f.ours, f.theirs) << f.name;
    EXPECT_EQ(standin::kFormatTitleRequest, kHostFormatTitle);
    EXPECT_EQ(standin::kTagKnownEmpty, kTitleTagEmpty);
}

// What a host reading the player's layout saw of one request.
struct SeenRequest {
    int useExtendedInfo = -1;
    bool defaultFormat = false;
    std::vector<std::wstring> unknownKeys;  // answered null: the host would ask its input plugins
    int blocks = 0, freed = 0;
};

std::wstring AskTag(const standin::TitleRecord& request, const wchar_t* key, SeenRequest* seen) {
    wchar_t* answer = request.tagCallback(key, request.callbackContext);
    if (!answer) {
        seen->unknownKeys.push_back(key);
        return {};
    }
    if (answer == standin::kTagKnownEmpty) return {};
    ++seen->blocks;
    std::wstring value = answer;
    request.freeCallback(answer, request.callbackContext);
    ++seen->freed;
    return value;
}

// Formats "artist - title", else the file name, as the player's default does, reading the
// record only through the host's own declaration.
LRESULT CALLBACK TitleHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message != kHostMessage || lp != standin::kFormatTitleRequest) return DefWindowProcW(window, message, wp, lp);
    const auto& request = *reinterpret_cast<const standin::TitleRecord*>(wp);
    auto* seen = reinterpret_cast<SeenRequest*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!seen) return 0;
    seen->useExtendedInfo = request.useExtendedInfo;
    seen->defaultFormat = request.titleFormat == nullptr;
    std::wstring artist = AskTag(request, L"artist", seen);
    std::wstring title = AskTag(request, L"title", seen);
    AskTag(request, L"tracknumber", seen);
    AskTag(request, L"year", seen);
    AskTag(request, L"bitrate", seen);
    std::wstring path = AskTag(request, L"FILENAME", seen);
    std::wstring text = artist.empty() || title.empty() ? path.substr(path.find_last_of(L'\\') + 1)
                                                        : artist + L" - " + title;
    lstrcpynW(request.out, text.c_str(), request.outLength);
    return 1;
}

class TitleHostWindow {
    HWND window_ = nullptr;
public:
    TitleHostWindow() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &TitleHostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvTitleHost";
        RegisterClassW(&wc);
        window_ = CreateWindowW(L"CvTitleHost", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }
    ~TitleHostWindow() { DestroyWindow(window_); }
    TitleHostWindow(const TitleHostWindow&) = delete;
    TitleHostWindow& operator=(const TitleHostWindow&) = delete;
    HWND get() const { return window_; }
    void Watch(SeenRequest* seen) { SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(seen)); }
};

TEST(TitleRecordTest, HostReadingThePlayersLayoutFormatsThePluginsTitles) {
    TitleHostWindow host;
    ASSERT_NE(host.get(), nullptr);

    Ref<FileRecord> tagged = Ref<FileRecord>::Make(L"C:\\Music\\Post\\03 Hyperballad.mp3");
    tagged->SetTags({L"Hyperballad", L"Bj\u00f6rk", L"Post", L"", L""});
    tagged->track = 3;
    SeenRequest taggedSeen;
    host.Watch(&taggedSeen);
    EXPECT_EQ(FormatTitle(host.get(), *tagged), L"Bj\u00f6rk - Hyperballad");
    EXPECT_EQ(taggedSeen.useExtendedInfo, 1);
    EXPECT_TRUE(taggedSeen.defaultFormat);
    // A key we keep no value for is left to the host's input plugins; the year is known empty.
    EXPECT_EQ(taggedSeen.unknownKeys, std::vector<std::wstring>{L"bitrate"});
    EXPECT_EQ(taggedSeen.blocks, 4);  // artist, title, track number, file name
    EXPECT_EQ(taggedSeen.freed, taggedSeen.blocks);

    // Never read: every known tag answers empty, and the title falls back to the file name.
    Ref<FileRecord> bare = Ref<FileRecord>::Make(L"C:\\Music\\a.mp3");
    SeenRequest bareSeen;
    host.Watch(&bareSeen);
    EXPECT_EQ(FormatTitle(host.get(), *bare), L"a.mp3");
    EXPECT_EQ(bareSeen.unknownKeys, std::vector<std::wstring>{L"bitrate"});
    EXPECT_EQ(bareSeen.blocks, 1);

    // A host that writes no title: the stored one, else the file name, never an empty title.
    host.Watch(nullptr);
    EXPECT_EQ(FormatTitle(host.get(), *tagged), L"Hyperballad");
    EXPECT_EQ(FormatTitle(host.get(), *bare), L"a.mp3");
}

}  // namespace
