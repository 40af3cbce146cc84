// Starting, watching and killing the stand-in player.
#include "HostRun.h"

#include "base/ReplacingFile.h"

namespace {

std::wstring CommandLine(const std::wstring& host, const std::vector<std::wstring>& arguments) {
    std::wstring line = L"\"" + host + L"\"";
    for (const std::wstring& argument : arguments) line += L" \"" + argument + L"\"";
    return line;
}

bool HasLineStarting(const std::string& text, const std::string& prefix) {
    for (size_t at = 0; at < text.size();) {
        if (text.compare(at, prefix.size(), prefix) == 0) return true;
        size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return false;
}

}  // namespace

ULONGLONG NowMs() { return GetTickCount64(); }

HostRun::HostRun(const std::wstring& host, const std::vector<std::wstring>& arguments, const std::wstring& outputFile)
    : outputFile_(outputFile) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    UniqueFileHandle output(CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION info = {};
    std::wstring line = CommandLine(host, arguments);
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_.Reset(info.hProcess);
    }
}

bool HostRun::WaitForLine(const std::string& prefix, DWORD timeoutMs) {
    ULONGLONG end = NowMs() + timeoutMs;
    for (;;) {
        if (HasLineStarting(Output(), prefix)) return true;
        if (!process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0 || NowMs() > end)
            return HasLineStarting(Output(), prefix);
        Sleep(10);
    }
}

void HostRun::Kill() {
    if (!process_) return;
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 30000);
}

int HostRun::Wait(DWORD timeoutMs) {
    if (!process_) return -1;
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        Kill();
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

std::string HostRun::Output() const {
    std::string bytes;
    ReadWholeFile(outputFile_, bytes);
    return bytes;
}
