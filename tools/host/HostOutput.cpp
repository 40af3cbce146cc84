// Standard output shared by the user-interface thread, the script runner and the message-box
// watcher: one lock, so that their lines never interleave, and a flush after every line, so
// that a test reading the output sees each line as soon as the host wrote it.
#include "HostOutput.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <atomic>
#include <mutex>

#include "base/Text.h"

namespace {

std::mutex& OutputLock() {
    static std::mutex lock;
    return lock;
}

void UseBinaryStdout() {
    // The C runtime would turn every line end into CR LF, which the shell tests would see.
    static bool done = false;
    if (!done) _setmode(_fileno(stdout), _O_BINARY);
    done = true;
}

}  // namespace

void OutputLine(const std::wstring& line) {
    std::lock_guard<std::mutex> guard(OutputLock());
    UseBinaryStdout();
    std::string text = WideToUtf8(line);
    text += '\n';
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
}

namespace {
std::atomic<int> faults{0};
}  // namespace

void ReportPluginFault(const std::wstring& line) {
    ++faults;
    OutputLine(line);
}

int PluginFaults() { return faults; }
