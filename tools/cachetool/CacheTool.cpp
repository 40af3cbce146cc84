// cvcache: opens (or creates) a cache database in a folder the way the plugin does at start-up,
// answering its questions from the command line, and prints what happened. Used to inspect
// or repair a user's cache and by the tests that check the file from outside.
//
//   cvcache.exe CACHE_FOLDER [yes|no]...
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/CacheStartup.h"

namespace {

class ArgumentPrompt : public UserPrompt {
public:
    explicit ArgumentPrompt(std::vector<bool> answers) : answers_(std::move(answers)) {}
    bool AskYesNo(const std::wstring& caption, const std::wstring& text) override {
        bool yes = next_ < answers_.size() && answers_[next_];
        ++next_;
        std::wstring flat = text;
        for (auto& c : flat)
            if (c == L'\n') c = L' ';
        std::printf("asked: %ls: %ls -> %s\n", caption.c_str(), flat.c_str(), yes ? "yes" : "no");
        return yes;
    }

private:
    std::vector<bool> answers_;
    size_t next_ = 0;
};

const char* Describe(CacheStartupOutcome outcome) {
    switch (outcome) {
        case CacheStartupOutcome::kCurrent: return "current";
        case CacheStartupOutcome::kUpgraded: return "upgraded";
        case CacheStartupOutcome::kRecreated: return "recreated";
        case CacheStartupOutcome::kKeptOld: return "kept-old";
        case CacheStartupOutcome::kNoCache: return "no-cache";
    }
    return "?";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cvcache CACHE_FOLDER [yes|no]...\n");
        return 2;
    }
    std::vector<bool> answers;
    for (int i = 2; i < argc; ++i) answers.push_back(std::wstring(argv[i]) == L"yes");
    ArgumentPrompt prompt(answers);
    CacheDatabase database(argv[1]);
    CacheStartupOutcome outcome = PrepareCacheAtStartup(database, prompt);
    std::printf("outcome: %s\nversion: %d\n", Describe(outcome), database.UserVersion());
    return 0;
}
