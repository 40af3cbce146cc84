// The stand-in view and host windows, and the library and cache helpers of the scan tests.
#include "scan/ScanTestSupport.h"

#include "base/Path.h"
#include "base/TextObject.h"
#include "db/DatabaseLock.h"
#include "db/FileRecord.h"
#include "scan/ChangeNotice.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"

namespace {

HWND MakeMessageWindow(const wchar_t* className, WNDPROC proc, void* owner) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    HWND window = CreateWindowW(className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

}  // namespace

ViewRecorder::ViewRecorder() : window_(MakeMessageWindow(L"CvScanTestView", &Proc, this)) {
    RegisterWindow(kMainViewWindowId, window_);
}

ViewRecorder::~ViewRecorder() {
    RegisterWindow(kMainViewWindowId, nullptr);
    Pump();
    DestroyWindow(window_);
}

LRESULT CALLBACK ViewRecorder::Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ViewRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kCommandMessage) return self->OnCommand(wp, lp);
    return DefWindowProcW(window, message, wp, lp);
}

LRESULT ViewRecorder::OnCommand(WPARAM code, LPARAM argument) {
    PostedCommand command;
    command.code = code;
    switch (code) {
        case kCmdStatusText:
        case kCmdFolderRemoved:
            command.path = AdoptText(argument)->text;
            break;
        case kCmdRootLoaded:
        case kCmdFolderRescanned:
        case kCmdFolderAdded:
            command.node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(argument));
            command.path = command.node->path;
            break;
        case kCmdFileChanged:
        case kCmdFolderChanged: {
            command.notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(argument));
            command.path = command.notice->path;
            command.action = static_cast<int>(command.notice->action);
            break;
        }
        case kCmdPlaylistForPath: {
            playlistQuestions.push_back(AdoptText(argument)->text);
            Ref<Playlist> answer = playlistAnswer;
            return reinterpret_cast<LRESULT>(answer.Detach());
        }
        default:
            command.argument = argument;
    }
    commands.push_back(std::move(command));
    return 0;
}

void ViewRecorder::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool ViewRecorder::WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::vector<PostedCommand> ViewRecorder::Of(WPARAM code) {
    std::vector<PostedCommand> found;
    for (const PostedCommand& command : commands)
        if (command.code == code) found.push_back(command);
    return found;
}

TagHost::TagHost() : window_(MakeMessageWindow(L"CvScanTestHost", &Proc, this)) {
    RegisterWindow(kHostWindowId, window_);
}

TagHost::~TagHost() {
    RegisterWindow(kHostWindowId, nullptr);
    DestroyWindow(window_);
}

LRESULT CALLBACK TagHost::Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TagHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kCommandMessage && wp) {
        auto& record = *reinterpret_cast<FileRecord*>(wp);
        ++self->requests;
        TagTexts tags;
        tags[static_cast<int>(TagField::kTitle)] = L"Title of " + std::wstring(record.FileName());
        tags[static_cast<int>(TagField::kArtist)] = L"Artist";
        record.SetTags(tags);
        record.track = 7;
        record.length = 180000;
        record.tagged = true;
        return 1;
    }
    return DefWindowProcW(window, message, wp, lp);
}

ScanFixtureBase::ScanFixtureBase()
    : library_(temp.File(L"Music") + L"\\"), database(temp.File(L"Cache")), extensions(Ref<MediaExtensions>::Make()) {
    CreateDirectoryW(library_.c_str(), nullptr);
    database.CreateSchema();
    for (const wchar_t* extension : {L"mp3", L"flac", L"ogg", L"m3u", L"m3u8"}) extensions->Add(extension);
}

std::wstring ScanFixtureBase::MakeFolder(const std::wstring& relative) {
    std::wstring path = library_;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        path += relative.substr(start, end - start) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::wstring ScanFixtureBase::MakeFile(const std::wstring& relative, const std::string& bytes) {
    std::wstring folder = ParentPath(relative);
    if (!folder.empty()) MakeFolder(folder);
    std::wstring path = library_ + relative;
    WriteBytes(path, bytes);
    return path;
}

long long ScanFixtureBase::Count(const std::wstring& sql) {
    Lock lock(DatabaseLock());
    Statement& st = database.Sql();
    st.SetSql(sql);
    st.Execute();
    long long n = st.NextRow() ? st.ColumnInt64(1) : -1;
    st.Finish();
    return n;
}

void ScanFixtureBase::Exec(const std::wstring& sql) {
    Lock lock(DatabaseLock());
    database.Sql().SetSql(sql);
    database.Sql().Execute();
    database.Sql().Finish();
}

std::optional<FileRow> ScanFixtureBase::Row(const std::wstring& fullPath) {
    Lock lock(DatabaseLock());
    Statement& st = database.Sql();
    st.SetSql(L"SELECT f.fileid, f.folderid, f.file_exists, f.tagged, f.size, f.changed, f.extension, f.title, "
              L"f.playcount FROM Files f, Folder fo WHERE f.folderid=fo.folderid AND fo.path || f.filename=?");
    st.BindText(fullPath.c_str(), 1);
    if (st.Execute() != Statement::kOk || !st.NextRow()) return std::nullopt;
    FileRow row;
    row.fileId = st.ColumnInt64(1);
    row.folderId = st.ColumnInt(2);
    row.fileExists = st.ColumnInt(3);
    if (st.ColumnText(4)) row.tagged = st.ColumnInt(4);
    row.size = st.ColumnInt64(5);
    row.changed = st.ColumnInt64(6);
    row.extension = st.ColumnText(7).value_or(L"");
    row.title = st.ColumnText(8);
    row.playCount = st.ColumnInt(9);
    st.Finish();
    return row;
}

std::vector<std::wstring> ScanFixtureBase::FolderPaths() {
    Lock lock(DatabaseLock());
    Statement& st = database.Sql();
    st.SetSql(L"SELECT path FROM Folder ORDER BY path");
    std::vector<std::wstring> paths;
    if (st.Execute() == Statement::kOk)
        while (st.NextRow()) paths.push_back(st.ColumnText(1).value_or(L""));
    return paths;
}

long long FileTimeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<long long>((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                  data.ftLastWriteTime.dwLowDateTime);
}

void SetFileTimeOf(const std::wstring& path, long long time) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(time);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(time) >> 32);
    SetFileTime(file, nullptr, nullptr, &ft);
    CloseHandle(file);
}
