// The host player's interface as this plugin uses it: the request message and its numbers,
// the records passed with requests, and the dispatch-style service objects the host hands out.
// The stand-in host in tools/host declares all of these again on its own side, and a test
// compares the two, so that a layout mistake made on one side shows instead of being mirrored.
#pragma once

#include <windows.h>

#include <cstddef>

// Requests go to the host main window as message 1024 with the request number in the long
// parameter and its argument in the word parameter; the answer is the message result.
constexpr UINT kHostMessage = WM_USER;

enum HostRequest : LPARAM {
    kHostGetVersion = 0,
    kHostClearPlaylist = 101,
    kHostPlaybackState = 104,          // 1 playing, 3 paused, 0 stopped
    kHostSetPlaylistPosition = 121,
    kHostPlaylistLength = 124,
    kHostPlaylistPosition = 125,
    kHostRestart = 135,                // posted
    kHostPlaylistEntryPath = 214,      // answer: const wchar_t*, owned by the host
    kHostGetShuffle = 250,
    kHostSetShuffle = 252,
    kHostGetWindow = 260,              // word 1: the playlist editor
    kHostGetMenu = 281,                // word 0: main menu, 4: the second menu
    kHostFormatTitle = 298,            // word: HostTitleRequest*
    kHostRegisterPrefsPage = 332,      // word: PrefsPageRecord*
    kHostRemovePrefsPage = 333,        // word: the PrefsPageRecord* registered
    kHostOpenPrefs = 380,              // word: PrefsPageRecord*
    kHostSkinColorBitmap = 503,        // answer: HBITMAP the caller deletes, or 0
    kHostCreateFrame = 505,            // word: EmbedRecord*; answer: the frame window
    kHostQueuedMessage = 617,          // notification; word: MSG* whose wParam may be zeroed
    kHostEnqueueFile = 1100,           // word: HostEnqueueRecord*
    kHostPlayableExtensions = 1292,    // answer: HGLOBAL of double-zero-ended wide strings
    kHostFileInfoDialog = 1293,        // word: HostFileInfoRecord*
    kHostNewCommandId = 3019,
    kHostServiceManager = 3025,        // answer: the service manager (HostDispatchable*), or 0 or 1 for none
    kHostExtendedFileInfo = 3026,      // word: HostFileInfoRequest*
    kHostFileStarted = 13003,          // notification; word: the wide path now playing
};

constexpr UINT kHostPlayCommand = 40045;
constexpr UINT kHostStopCommand = 40047;
constexpr UINT kHostMenuAnchorCommand = 40258;    // the main menu item the entry goes near
constexpr UINT kHostPlaylistMenuFirstItem = 40184; // identifies the playlist editor's menu
// Message 1024 with this word on the playlist editor answers its next selected index after the
// given one (-1 to start), or -1.
constexpr WPARAM kEditorNextSelected = 112;
constexpr ULONG_PTR kEditorInsertFileCopyData = 114;

#pragma pack(push, 4)

// Extended file information: the tag value of one key, written into buffer.
struct HostFileInfoRequest {
    const wchar_t* path;
    const wchar_t* key;
    wchar_t* buffer;
    int bufferLength;  // in UTF-16 units
};

// The plugin's tag callback answers a key's value as a GlobalAlloc block of wide text, null for
// a key it does not know (the host then asks its input plugins) or kTitleTagEmpty for a key it
// knows to be empty; the host hands every block, and nothing else, to the free callback.
using TitleTagCallback = wchar_t*(__cdecl*)(const wchar_t* key, void* context);
using TitleFreeCallback = void(__cdecl*)(wchar_t* value, void* context);
inline wchar_t* const kTitleTagEmpty = reinterpret_cast<wchar_t*>(-1);

// The host reads this record at fixed offsets: a field out of place is a crash in the host.
struct HostTitleRequest {
    const wchar_t* path;
    int useExtendedInfo;        // 1: the host asks its input plugins for keys we leave unanswered
    const wchar_t* format;      // null: the host's own default title format
    void* context;              // handed back to both callbacks
    wchar_t* out;
    int outLength;              // in UTF-16 units
    TitleTagCallback tagCallback;
    TitleFreeCallback freeCallback;
};

// Players up to 5.66 read three fields, players since then four: the third is read as a text
// by the newer ones and as the length by the older ones. Left null, it is "no text" to the newer
// and an unknown length to the older, which then read the length from the file themselves;
// anything else in it would be taken for a text's address by every current player.
struct HostEnqueueRecord {
    const wchar_t* path;
    const wchar_t* title;       // null: the host reads it itself
    const wchar_t* extension;   // always null
    int lengthSeconds;
};

struct HostFileInfoRecord {
    HWND owner;
    const wchar_t* path;
};

// The payload of the insert-file copy-data message to the playlist editor.
struct EditorInsertFile {
    wchar_t path[260];
    int index;
};

// The frame window the host makes and keeps for the plugin.
struct EmbedRecord {
    HWND frame;                 // filled by the host
    int flags;
    RECT rect;                  // requested, and read back at close
    int userValue;
    int hostWords[64];          // the host's; bytes 44-59 of the record hold the frame's GUID
};

struct PrefsPageRecord {
    HINSTANCE instance;
    int dialogId;
    DLGPROC dialogProc;
    const char* name;
    int placement;
    int hostWords[2];
};

#pragma pack(pop)

static_assert(sizeof(EmbedRecord) == 284, "the host reads 284 bytes");
static_assert(offsetof(EmbedRecord, flags) == 4 && offsetof(EmbedRecord, rect) == 8 &&
                  offsetof(EmbedRecord, userValue) == 24 && offsetof(EmbedRecord, hostWords) == 28,
              "the host reads fixed offsets");
static_assert(sizeof(PrefsPageRecord) == 28, "seven 32-bit fields");
static_assert(sizeof(HostTitleRequest) == 32, "the host reads 32 bytes");
static_assert(offsetof(HostTitleRequest, useExtendedInfo) == 4 && offsetof(HostTitleRequest, format) == 8 &&
                  offsetof(HostTitleRequest, context) == 12 && offsetof(HostTitleRequest, out) == 16 &&
                  offsetof(HostTitleRequest, outLength) == 20 && offsetof(HostTitleRequest, tagCallback) == 24 &&
                  offsetof(HostTitleRequest, freeCallback) == 28,
              "the host reads fixed offsets");
static_assert(sizeof(HostEnqueueRecord) == 16 && offsetof(HostEnqueueRecord, lengthSeconds) == 12,
              "the newest players read four fields");
static_assert(sizeof(EditorInsertFile) == 524, "the editor reads a 524-byte block");

constexpr int kEmbedGuidOffset = 44;
// {24FF1DCF-7D8A-4D78-9B1B-B709DF75318D}
constexpr GUID kFrameGuid = {0x24ff1dcf, 0x7d8a, 0x4d78, {0x9b, 0x1b, 0xb7, 0x09, 0xdf, 0x75, 0x31, 0x8d}};
// {23B96771-09D7-46D3-9AE2-20DCEA6C86EA}
constexpr GUID kApplicationServiceGuid = {0x23b96771, 0x09d7, 0x46d3,
                                          {0x9a, 0xe2, 0x20, 0xdc, 0xea, 0x6c, 0x86, 0xea}};

// Every service object the host hands out (its service manager, a service's factory, the
// service itself) has one virtual method and nothing else: the host calls through slot 0 of
// the object's table with the callee-cleans member convention. The method answers non-zero
// when it handled the message, and then it has written *result; arguments[i] points at the
// value of the i-th argument. A second virtual method, or a virtual destructor, would move
// the slot and make every call land on the wrong code.
class HostDispatchable {
public:
    virtual int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments,
                                                    int argumentCount) = 0;

protected:
    ~HostDispatchable() = default;
};

enum HostServiceMessage : int {
    kServiceGetFactory = 50,            // manager: GUID by value -> factory
    kServiceAddAccelerators = 240,      // application: HWND, HACCEL*, int count, UINT mode
    kServiceRemoveAccelerators = 250,   // application: HWND
    kFactoryGetInterface = 300,         // factory: int 1 -> the service object
    kFactoryReleaseInterface = 310,     // factory: the service object -> int
};

// How the host's message loop picks the key messages it translates through a window's tables.
enum AcceleratorTranslation : UINT {
    kTranslateForWindow = 0,            // keys sent to the window or its children
    kTranslateAlways = 1,               // every key while the window exists
    kTranslateForChildWindow = 2,       // as for the window, which is itself a child window
};
