// The stand-in view window, and the library and cache helpers of the scan tests.
#include "scan/ScanTestSupport.h"

#include <shlobj.h>

#include "base/Path.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/DatabaseLock.h"
#include "support/QueryNumber.h"

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
        case kCmdShowMessage:
            command.path = AdoptText(argument)->text;
            break;
        case kCmdRootLoaded:
        case kCmdFolderRescanned:
        case kCmdFolderAdded:
            command.node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(argument));
            command.path = command.node->path;
            break;
        case kCmdFileChanged:
        case kCmdFolderChanged:
            command.notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(argument));
            command.path = command.notice->path;
            command.action = static_cast<int>(command.notice->action);
            break;
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
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
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

ScanFixtureBase::ScanFixtureBase()
    : library_(temp.File(L"Music") + L"\\"), database(temp.File(L"Cache")), extensions(Ref<MediaExtensions>::Make()) {
    CreateDirectoryW(library_.c_str(), nullptr);
    database.CreateSchema();
    for (const wchar_t* extension : {L"mp3", L"flac", L"ogg", L"m3u", L"m3u8"}) extensions->Add(extension);
}

std::wstring ScanFixtureBase::MakeFolder(const std::wstring& relative) {
    std::wstring path = library_ + relative + L"\\";
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return path;
}

std::wstring ScanFixtureBase::MakeFile(const std::wstring& relative, const std::string& bytes) {
    std::wstring folder = ParentPath(relative);
    if (!folder.empty()) MakeFolder(folder);
    WriteBytes(library_ + relative, bytes);
    return library_ + relative;
}

long long ScanFixtureBase::Count(const std::wstring& sql) { return QueryNumber(database, sql); }

void ScanFixtureBase::Exec(const std::wstring& sql) {
    Lock lock(DatabaseLock());
    database.Sql().SetSql(sql);
    database.Sql().Execute();
    database.Sql().Finish();
}

std::optional<FileRow> ScanFixtureBase::Row(const std::wstring& fullPath) {
    Lock lock(DatabaseLock());
    Statement& st = database.Sql();
    st.SetSql(L"SELECT f.folderid, f.file_exists, f.tagged, f.size, f.changed, f.extension, f.title, f.playcount "
              L"FROM Files f, Folder fo WHERE f.folderid=fo.folderid AND fo.path || f.filename=?");
    st.BindText(fullPath.c_str(), 1);
    if (st.Execute() != Statement::kOk || !st.NextRow()) return std::nullopt;
    FileRow row{st.ColumnInt(1), st.ColumnInt(2), std::nullopt, st.ColumnInt64(4), st.ColumnInt64(5),
                st.ColumnText(6).value_or(L""), st.ColumnText(7), st.ColumnInt(8)};
    if (st.ColumnText(3)) row.tagged = st.ColumnInt(3);
    st.Finish();
    return row;
}

std::vector<std::wstring> ScanFixtureBase::NamesIn(const std::wstring& folderPath) {
    Lock lock(DatabaseLock());
    Statement& st = database.Sql();
    st.SetSql(L"SELECT f.filename FROM Files f, Folder fo WHERE f.folderid=fo.folderid AND fo.path=? "
              L"ORDER BY f.filename");
    st.BindText(folderPath.c_str(), 1);
    std::vector<std::wstring> names;
    if (st.Execute() == Statement::kOk)
        while (st.NextRow()) names.push_back(st.ColumnText(1).value_or(L""));
    return names;
}

long long FileTimeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<long long>((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                  data.ftLastWriteTime.dwLowDateTime);
}

void RenameInCase(const std::wstring& from, const std::wstring& to) {
    std::wstring between = from + L".renaming";
    MoveFileW(from.c_str(), between.c_str());
    MoveFileW(between.c_str(), to.c_str());
}
