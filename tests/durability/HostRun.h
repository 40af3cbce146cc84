// One run of the stand-in player under test: started with a script, its output kept in a file
// that can be watched for a line while it runs, and either waited for or killed outright as a
// power cut or the task manager would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/Unique.h"

class HostRun {
public:
    // Starts host with the arguments; the output goes to outputFile.
    HostRun(const std::wstring& host, const std::vector<std::wstring>& arguments, const std::wstring& outputFile);
    bool Started() const { return process_.valid(); }
    // Waits until a line of the output starts with prefix; false when the run ended or the
    // time ran out first.
    bool WaitForLine(const std::string& prefix, DWORD timeoutMs);
    // Ends the process at once, without letting it save or close anything.
    void Kill();
    // The exit code, or -1 when it did not end in time (it is then killed).
    int Wait(DWORD timeoutMs);
    std::string Output() const;

private:
    UniqueHandle process_;
    std::wstring outputFile_;
};

// Milliseconds since some fixed moment.
ULONGLONG NowMs();
