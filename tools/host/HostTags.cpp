// The tag requests. Values come from the host's own tag reader when it is built (the cvtags
// library); without it every tag reads as empty, which the plugin treats as an untagged file.
#include "HostTags.h"

#include <map>

#include "HostApp.h"
#include "HostResources.h"
#include "HostTagDelay.h"
#include "HostTitleRecord.h"
#include "PlayerInterface.h"
#include "base/Path.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

#ifdef CV_HOST_HAVE_TAGS
#include "TagReader.h"
#endif

namespace {

const wchar_t* const kTagKeys[] = {L"title", L"artist", L"album", L"year", L"track",
                                   L"genre", L"comment", L"length", L"bitrate"};
const wchar_t kPlayableExtensions[] = L"mp3\0flac\0ogg\0wav\0m4a\0wma\0";

// Tags the user changed in the file-information dialog, by path and key; they stand in for the
// host writing them into the file.
std::map<std::wstring, std::map<std::wstring, std::wstring>>& EditedTags() {
    static std::map<std::wstring, std::map<std::wstring, std::wstring>> edited;
    return edited;
}

std::wstring FileTagOf(const std::wstring& path, const wchar_t* key);

std::wstring TagOf(const std::wstring& path, const wchar_t* key) {
    auto file = EditedTags().find(path);
    if (file != EditedTags().end()) {
        auto value = file->second.find(key);
        if (value != file->second.end()) return value->second;
    }
    return FileTagOf(path, key);
}

// The plugin asks for nine keys of one file in a row; the file is read once for all of them.
std::wstring FileTagOf(const std::wstring& path, const wchar_t* key) {
#ifdef CV_HOST_HAVE_TAGS
    static std::wstring lastPath;
    static FILETIME lastWrite;
    static FileTags lastTags;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    if (path != lastPath || CompareFileTime(&data.ftLastWriteTime, &lastWrite) != 0) {
        lastTags = FileTags();
        ReadFileTags(path, lastTags);
        lastPath = path;
        lastWrite = data.ftLastWriteTime;
    }
    return TagValue(lastTags, key);
#else
    (void)path;
    (void)key;
    return {};
#endif
}

void CopyInto(const std::wstring& text, wchar_t* out, int length) {
    if (!out || length <= 0) return;
    lstrcpynW(out, text.c_str(), length);
}

// Asks the plugin's callback for one key as the player does: a null answer means the plugin
// does not know the key, so with extended information on we read the file ourselves; the
// empty marker means known and empty. Only real blocks go back to the free callback.
std::wstring CallbackValue(const standin::TitleRecord& request, const wchar_t* key) {
    wchar_t* answer = request.tagCallback ? request.tagCallback(key, request.callbackContext) : nullptr;
    if (answer == standin::kTagKnownEmpty) return {};
    if (!answer) {
        bool readOurselves = request.useExtendedInfo && request.filename;
        return readOurselves ? TagOf(request.filename, key) : std::wstring();
    }
    std::wstring value = answer;
    if (request.freeCallback) request.freeCallback(answer, request.callbackContext);
    return value;
}

// The dialog's text holds one "key: value" line a tag; OK keeps the lines the user changed.
void KeepEditedTags(HWND dialog, const std::wstring& path) {
    int length = GetWindowTextLengthW(GetDlgItem(dialog, kIdFileInfoTags));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetDlgItemTextW(dialog, kIdFileInfoTags, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    for (const std::wstring& line : SplitLines(text)) {
        size_t colon = line.find(L": ");
        if (colon == std::wstring::npos) continue;
        std::wstring key = line.substr(0, colon), value = line.substr(colon + 2);
        if (TagOf(path, key.c_str()) != value) EditedTags()[path][key] = value;
    }
}

INT_PTR CALLBACK FileInfoProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* path = reinterpret_cast<const std::wstring*>(lp);
            SetWindowLongPtrW(dialog, DWLP_USER, lp);
            SetDlgItemTextW(dialog, kIdFileInfoPath, path->c_str());
            std::wstring text;
            for (const auto& tag : ReadAllTags(*path)) text += tag.first + L": " + tag.second + L"\r\n";
            SetDlgItemTextW(dialog, kIdFileInfoTags, text.c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK)
                KeepEditedTags(dialog, *reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(dialog, DWLP_USER)));
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(dialog, LOWORD(wp));
            return TRUE;
    }
    return FALSE;
}

}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> ReadAllTags(const std::wstring& path) {
    std::vector<std::pair<std::wstring, std::wstring>> tags;
    for (const wchar_t* key : kTagKeys) tags.emplace_back(key, TagOf(path, key));
    return tags;
}

LRESULT OnFormatTitle(WPARAM wp) {
    auto* request = reinterpret_cast<standin::TitleRecord*>(wp);
    if (!request || !request->out || request->outLength <= 0) return 0;
    DelayTitleRequest(request->filename);
    // The player's default format asks for these too; a plugin that mishandles any of them
    // should fail here as it would there, even though our default shows only some.
    std::wstring artist = CallbackValue(*request, L"artist");
    std::wstring title = CallbackValue(*request, L"title");
    CallbackValue(*request, L"tracknumber");
    CallbackValue(*request, L"year");
    std::wstring path = CallbackValue(*request, L"FILENAME");
    if (path.empty() && request->filename) path = request->filename;
    std::wstring text = artist.empty() ? L"" : artist + L" - ";
    text += title.empty() ? FileNamePart(path) : title;
    CopyInto(text, request->out, request->outLength);
    return 1;
}

LRESULT OnExtendedFileInfo(WPARAM wp) {
    auto* request = reinterpret_cast<standin::FileInfoRequest*>(wp);
    if (!request || !request->path || !request->key || !request->buffer) return 0;
    DelayFileRead(request->path);
    std::wstring value = TagOf(request->path, request->key);
    if (Host().options.tagGarbage && !value.empty()) {
        // Up to the last unit of the buffer, and no terminator after it.
        for (int i = 0; i < request->bufferLength; ++i) request->buffer[i] = value[static_cast<size_t>(i) % value.size()];
        return 1;
    }
    CopyInto(value, request->buffer, request->bufferLength);
    return 1;
}

LRESULT OnFileInfoDialog(WPARAM wp) {
    auto* record = reinterpret_cast<const standin::FileInfoDialogRecord*>(wp);
    if (!record || !record->path) return 0;
    std::wstring path = record->path;
    DialogBoxParamW(Host().instance, MAKEINTRESOURCEW(kIdFileInfoDialog), record->owner, FileInfoProc,
                    reinterpret_cast<LPARAM>(&path));
    // Non-zero ends the plugin's series of dialogs; 0 lets it read the file again and go on.
    return static_cast<LRESULT>(Host().options.fileInfoAnswer);
}

LRESULT OnPlayableExtensions(WPARAM) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(kPlayableExtensions)));
    if (!block) return 0;
    if (void* data = GlobalLock(block.get())) {
        memcpy(data, kPlayableExtensions, sizeof(kPlayableExtensions));
        GlobalUnlock(block.get());
    }
    // The caller frees the block.
    return reinterpret_cast<LRESULT>(block.Release());
}
