// The host's version request and the oldest version the plugin runs in.
#pragma once

#include <windows.h>

// Message 1024 carries every request to the host main window; the request id is the long parameter.
constexpr UINT kHostRequestMessage = WM_USER;
constexpr LPARAM kHostRequestVersion = 0;
// The host encodes version 5.33 as 0x5033.
constexpr LRESULT kOldestHostVersion = 0x5033;

inline bool HostVersionSupported(HWND host) {
    return SendMessageW(host, kHostRequestMessage, 0, kHostRequestVersion) >= kOldestHostVersion;
}
