// The stand-in host's command line.
#pragma once

#include <string>
#include <vector>

// How long the host takes over a tag request: ms, or never (it hangs until released).
struct TagDelay {
    unsigned ms = 0;
    bool never = false;
};

struct HostOptions {
    std::wstring plugin;
    std::wstring documents;     // empty: the user's own documents folder
    std::wstring script;        // empty: interactive
    std::wstring skin;          // a skin bitmap file to wear; empty: the host's own default skin
    unsigned version = 0x5036;
    bool services = true;
    TagDelay tagDelay;          // tag requests answered late, or never
    std::wstring tagDelayFile;  // empty: every file is slow; otherwise only the file of this name
    unsigned fileInfoAnswer = 1; // what the file-information dialog answers; 0 lets the plugin go on
    unsigned startDelayMs = 0;  // 0: the file-started notice comes inside the Play command
    unsigned trackMs = 0;       // 0: an entry plays until stopped; else it ends after this long
    // A careless player: no frame window (505 answers 0), no skin bitmap (503 answers 0), tag
    // answers that fill the whole buffer, text repeated, with no terminating NUL.
    bool noFrame = false;
    bool noSkin = false;
    bool tagGarbage = false;
    // A second plugin beside ours that hooks the same windows and imports after it and quits
    // after it was unloaded.
    bool otherPlugin = false;
    std::wstring error;         // set when the command line is not understood
};

HostOptions ParseHostOptions(const std::vector<std::wstring>& args);
// "never" or a number of milliseconds.
bool ParseTagDelay(const std::wstring& text, TagDelay& out);
// A decimal number of at most nine digits.
bool ParseUnsigned(const std::wstring& text, unsigned& out);
std::wstring HostUsage();
