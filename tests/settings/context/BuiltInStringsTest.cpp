// Checks the English string table compiled into gen_cv.dll: every text a language pack may
// leave out must be there, and the telling ones must read back exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StringIds.h"
#include "support/BuildFiles.h"

namespace {

// The module loaded as plain data, so that its entry point and imports never run.
class DataModule {
public:
    explicit DataModule(const std::wstring& path)
        : h_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataModule() { if (h_) FreeLibrary(h_); }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE get() const { return h_; }

private:
    HMODULE h_;
};

// The entry's whole text: with a zero length LoadStringW points into the resource itself, so
// no buffer of a guessed size can cut a long message short.
std::wstring Load(HMODULE module, unsigned id) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

class BuiltInStringsTest : public testing::Test {
protected:
    DataModule plugin_{BuildFile(L"gen_cv.dll")};
    void SetUp() override { ASSERT_NE(plugin_.get(), nullptr) << "cannot load the plugin module"; }
};

TEST_F(BuiltInStringsTest, TellingTextsReadBackExactly) {
    struct Case { unsigned id; const wchar_t* text; };
    static const Case kCases[] = {
        {kStrLanguageName, L"English"},
        {kStrProductName, L"Crateview"},
        {kStrMyLibrary, L"My Library"},
        // Headers differ from the settings keys "Track #" and "Path".
        {kStrColumnTrack, L"Track"},
        {kStrColumnFilepath, L"Filepath"},
        {kStrColumnNumber, L"#"},
        {kStrListRefreshRoot, L"Please refresh root to view contents."},
        {kStrMenuSendTo, L"Send to"},
        {kStrMenuImportRoots, L"Import roots"},
        {kStrStatusProcessFiles, L"Process files %i%%...(Escape to cancel)"},
        {kStrStatusFiles,
         L"%d file(s) scanned out of %d file(s) found (%02d:%02d:%02d%s, %.2f %CB)"},
        {kStrQueryDialogTitle, L"Create New Smart Playlist"},
        // A tab caption: the doubled ampersand shows as one.
        {kStrPrefsTabDisplaySearch, L"Display && Search"},
        {kStrPrefsAutoRefreshWait, L"Wait %d second(s) before updating"},
        {kStrPrefsStripAccentsNote,
         L"* Means that i.e. '\u00e1' will be treated as 'a' and vice versa."},
        {kStrPrefsDisableTagReading, L"Disable tag-reading"},
        {kStrMsgReadNewRootTags,
         L"Do you want to automatically read tags for all files in this root?\n"
         L"(If you want to do this later, you can press F6 to read tags of all files in the "
         L"listview.)"},
        {kStrMsgPlaylistNotUnique,
         L"Playlist must be unique. The selected playlist is already added as root."},
    };
    for (const auto& c : kCases) EXPECT_EQ(Load(plugin_.get(), c.id), c.text) << "string " << c.id;
}

// A pack may hold any of these empty; the user then sees the English text, so none may be.
TEST_F(BuiltInStringsTest, EveryIdAPackMayOmitHasText) {
    struct Range { unsigned first, last; };
    static const Range kRanges[] = {
        {1000, 1002}, {2000, 2021}, {3000, 3004}, {3010, 3037}, {4000, 4003}, {4009, 4026},
        {5000, 5006}, {5008, 5008}, {5010, 5021}, {5023, 5051}, {5053, 5058}, {6001, 6017},
    };
    std::vector<unsigned> missing;
    for (const auto& r : kRanges)
        for (unsigned id = r.first; id <= r.last; ++id)
            if (Load(plugin_.get(), id).empty()) missing.push_back(id);
    EXPECT_EQ(missing, std::vector<unsigned>{});
}

}  // namespace
