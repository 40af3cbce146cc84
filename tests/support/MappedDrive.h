// A drive letter mapped onto a folder for the life of the object, under Wine: for tests of
// paths across drives and of a drive that goes away and comes back.
//
// Wine takes its drive letters from the symbolic links in the prefix's dosdevices folder
// (DefineDosDevice names a device there that file calls do not follow). A link's name holds a
// colon, which no Windows call can create, so the Unix ln and rm make and remove it; Wine runs
// Unix programs given by their path on drive Z:.
#pragma once

#include <string>

class MappedDrive {
public:
    MappedDrive(wchar_t letter, const std::wstring& target);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    bool Mapped() const { return mapped_; }
    // "D:", without a backslash.
    std::wstring Root() const;

private:
    wchar_t letter_;
    std::string link_;
    bool mapped_ = false;
};

// Whether the tests run under Wine, where drives can be mapped this way.
bool RunningUnderWine();
