// A generous bound on one piece of work in a test: when the scope is not left within the
// limit, the test program says what hung and ends, so a deadlock or an endless loop fails the
// run with a word of what hung instead of stalling it until ctest's own limit. Not a timing
// check: the limit is far above what any slow machine needs.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "base/Unique.h"

class HangGuard {
public:
    HangGuard(std::string what, DWORD limitMs);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    UniqueHandle left_;
    std::thread watcher_;
};
