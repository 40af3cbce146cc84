// The stand-in host's command line.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    std::wstring plugin;
    std::wstring documents;     // empty: the user's own documents folder
    std::wstring script;        // empty: interactive
    unsigned version = 0x5036;
    bool services = true;
    std::wstring error;         // set when the command line is not understood
};

HostOptions ParseHostOptions(const std::vector<std::wstring>& args);
std::wstring HostUsage();
