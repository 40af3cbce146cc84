// The player's interface as the stand-in host declares it on its own side: the request message
// and its numbers, every record a plugin and the player pass each other, and the shape of the
// player's service objects. Written from the player's published interface, not taken from the
// plugin's headers, so that a layout the plugin gets wrong fails here as it would in the player.
#pragma once

#include <windows.h>

#include <cstddef>

#include "HostTitleRecord.h"

namespace standin {

// A request is this message to the main window: the number in the long parameter, its argument
// in the word parameter, the answer in the result.
constexpr UINT kRequestMessage = WM_USER;

enum Request : LPARAM {
    kGetVersion = 0,
    kClearPlaylist = 101,
    kGetPlaybackState = 104,
    kSetPlaylistPosition = 121,
    kGetPlaylistLength = 124,
    kGetPlaylistPosition = 125,
    kRestart = 135,
    kGetPlaylistEntryPath = 214,
    kGetShuffle = 250,
    kSetShuffle = 252,
    kGetWindow = 260,
    kGetMenu = 281,
    kFormatTitle = kFormatTitleRequest,   // TitleRecord*
    kRegisterPrefsPage = 332,             // PrefsPage*
    kUnregisterPrefsPage = 333,           // the PrefsPage* registered
    kOpenPrefs = 380,                     // PrefsPage*
    kGetSkinColorBitmap = 503,
    kCreateFrame = 505,                   // FrameRecord*
    kIsFrameWindow = 533,                 // a window; answer: whether it is one of the player's frames
    kEnqueueFile = 1100,                  // EnqueueRecord*
    kGetPlayableExtensions = 1292,
    kShowFileInfo = 1293,                 // FileInfoDialogRecord*
    kNewCommandId = 3019,
    kGetServiceManager = 3025,            // answer: Dispatchable*, or 0
    kGetExtendedFileInfo = 3026,          // FileInfoRequest*
};

// What the player tells the plugin through the same message.
enum Notification : LPARAM {
    kQueuedKey = 617,                     // word: the MSG about to be dispatched; a zeroed wParam drops it
    kFileStarted = 13003,                 // word: the wide path now playing
};

constexpr UINT kPlayCommand = 40045;
constexpr UINT kStopCommand = 40047;
constexpr UINT kLibraryMenuCommand = 40258;
constexpr UINT kEditorMenuFirstCommand = 40184;
// To the playlist editor: the request message with this word and the previous index (-1 first)
// answers the next selected index, or -1.
constexpr WPARAM kEditorNextSelected = 112;
// WM_COPYDATA to the playlist editor with this type inserts the file of an InsertFileBlock.
constexpr ULONG_PTR kEditorInsertFile = 114;

#pragma pack(push, 4)

// What the plugin's export answers; the player fills the last two fields before init.
struct PluginRecord {
    int version;
    const char* description;
    int(__cdecl* init)();
    void(__cdecl* config)();
    void(__cdecl* quit)();
    HWND mainWindow;
    HINSTANCE instance;
};
constexpr int kPluginRecordVersion = 0x10;

struct FileInfoRequest {
    const wchar_t* path;
    const wchar_t* key;
    wchar_t* buffer;
    int bufferLength;                     // in characters
};

// Read as the newest players read it: a third field that is a text (the file's extension) or
// null, then the length. Players before 5.66 took the third field for the length.
struct EnqueueRecord {
    const wchar_t* path;
    const wchar_t* title;                 // null: the player reads it
    const wchar_t* extension;             // null: taken from the path
    int lengthSeconds;
};

struct FileInfoDialogRecord {
    HWND owner;
    const wchar_t* path;
};

struct InsertFileBlock {
    wchar_t path[MAX_PATH];
    int index;
};

// The frame the player makes on request. The player writes the frame's rectangle into the
// record for as long as the frame exists, so the record must outlive it.
struct FrameRecord {
    HWND frame;
    int flags;
    RECT rect;
    int userValue;
    DWORD playerWords[64];                // the player's own; bytes 44-59 hold the frame's GUID
};
constexpr size_t kFrameGuidOffset = 44;
constexpr int kFrameHasIdentity = 8;      // flag: the GUID at kFrameGuidOffset names the frame

struct PrefsPage {
    HINSTANCE instance;
    int dialogId;
    DLGPROC dialogProc;
    const char* name;
    int placement;
    int playerWords[2];
};

#pragma pack(pop)

static_assert(sizeof(PluginRecord) == 28 && sizeof(FileInfoRequest) == 16 && sizeof(EnqueueRecord) == 16 &&
                  sizeof(FileInfoDialogRecord) == 8 && sizeof(InsertFileBlock) == 524 &&
                  sizeof(FrameRecord) == 284 && sizeof(PrefsPage) == 28,
              "the player's published sizes on 32-bit Windows");
static_assert(offsetof(FrameRecord, rect) == 8 && offsetof(FrameRecord, userValue) == 24 &&
                  offsetof(FrameRecord, playerWords) == 28,
              "the player reads the frame record at fixed offsets");

// The player's service objects (the manager, a service's factory, a service) all have this one
// method in slot 0 of their table, called with the member convention. It answers non-zero when
// it handled the message and then has written *result; arguments[i] points at argument i.
class Dispatchable {
public:
    virtual int __attribute__((thiscall)) Dispatch(int message, void* result, void** arguments,
                                                    int argumentCount) = 0;

protected:
    ~Dispatchable() = default;
};

enum ServiceMessage : int {
    kGetServiceFactory = 50,              // manager: (GUID) -> factory
    kAddAccelerators = 240,               // application: (HWND, HACCEL*, int, UINT mode)
    kRemoveAccelerators = 250,            // application: (HWND)
    kGetServiceInterface = 300,           // factory: (int 1) -> service
    kReleaseServiceInterface = 310,       // factory: (service) -> int
};

enum TranslationMode : UINT {
    kTranslateNormal = 0,
    kTranslateGlobal = 1,
    kTranslateChild = 2,
};

// {23B96771-09D7-46D3-9AE2-20DCEA6C86EA}
constexpr GUID kApplicationServiceId = {0x23b96771, 0x09d7, 0x46d3,
                                        {0x9a, 0xe2, 0x20, 0xdc, 0xea, 0x6c, 0x86, 0xea}};

}  // namespace standin
