// Whole-file writes that never leave the old file half-written: the new content goes to a file
// beside it, reaches the disk, and only then takes the old one's place in one move. A kill, a
// full disk or a refused write leaves either the old file or the new one, never a mix.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Creates path (replacing a file of that name), writes every byte and flushes them to disk.
// False on any failure, with the reason in GetLastError.
bool WriteFileThrough(const std::wstring& path, std::string_view bytes);
// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
// How long a rename over a file another program holds open is tried again, in milliseconds.
// Scanners and indexers open a file just written and let it go within moments.
constexpr DWORD kReplacePatience = 500;

// Puts the file at newPath in the place of target, which need not exist, in one rename; target's
// attributes are kept and the move reaches the disk before the call returns. A target held
// open by another program is tried again for patience milliseconds. False leaves target as it
// was, with the reason in GetLastError.
bool MoveIntoPlace(const std::wstring& newPath, const std::wstring& target, DWORD patience = kReplacePatience);

// One replacement of a file's content. The new file is named after the target, so it lies in
// the same folder (a move within one volume is a rename) and a leftover of a killed save is
// recognisable and overwritten by the next one. Whatever is not committed is removed.
class ReplacingFile {
public:
    explicit ReplacingFile(std::wstring target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::wstring& Target() const { return target_; }
    // Where the new content is written; a writer that needs a file name (the profile functions)
    // writes here after Write has created it.
    const std::wstring& NewPath() const { return newPath_; }

    // Creates the new file with these bytes, on disk when it answers true.
    bool Write(std::string_view bytes);
    // Flushes the new file, whoever wrote to it last, and puts it in the target's place. A
    // read-only target is refused: its owner made it so. False leaves the target byte for byte;
    // Error() then tells why.
    bool Commit(DWORD patience = kReplacePatience);
    DWORD Error() const { return error_; }

private:
    bool Fail();

    std::wstring target_;
    std::wstring newPath_;
    bool committed_ = false;
    DWORD error_ = ERROR_SUCCESS;
};
