// The encoding of a settings file as the profile functions see it: they keep an 8-bit file in
// the system's code page, and read and write a file that begins with a UTF-16 byte-order mark
// as UTF-16, so only such a file keeps names from every script.
#pragma once

#include <string>
#include <string_view>

// The bytes the profile functions are given to write value into, made from the old file: the
// same file when it already holds the value's characters, else the same lines as UTF-16 with
// its mark. Either way it ends with a line break, as the check of the written copy expects
// and as an edit in place leaves it.
std::string ProfileCopyFor(std::string_view old, std::wstring_view value);
