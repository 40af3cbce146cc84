// cvkill: kills the stand-in player at seeded random moments of a multi-root scan, a tag pass
// and a playlist save, and after each kill checks what a user would lose: the cache must pass
// SQLite's integrity check, each root must be wholly there or wholly gone, the playlist must
// hold its old content or its new one, and the next start must run clean and finish the work.
//
//   cvkill.exe --host CVHOST --plugin GEN_CV --work DIR --kills N [--seed S] [--only scan|tags|save]
//
// DIR holds lib\r1..r3 (the folder roots, made by the calling script) and lists\mix.m3u; the
// profiles, scripts and outputs are made under DIR\run. Prints one line per kill and a summary
// line starting "soak:"; exits 1 when any kill lost or broke anything.
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "CacheAudit.h"
#include "HostRun.h"
#include "ProfileFolders.h"
#include "base/ReplacingFile.h"
#include "base/Text.h"

namespace {

struct Options {
    std::wstring host, plugin, work;
    int kills = 20;
    unsigned seed = 1;
    std::wstring only;  // one phase's name: every kill falls in it
};

enum class Phase { kScan, kTags, kSave };
const char* const kPhaseNames[] = {"scan", "tags", "save"};

// Everything one phase needs: the state it starts from, the script that does the work, the
// line from which the kill moment is drawn, and what a finished run leaves.
struct PhasePlan {
    Phase phase;
    std::wstring baseProfile;  // copied to the run's profile before each run; empty: a new profile
    std::wstring script;
    std::string marker;
    std::vector<std::wstring> hostOptions;
    DWORD spanMs = 0;          // measured from the marker to the end in the reference run
};

class Driver {
public:
    explicit Driver(Options options) : o_(std::move(options)), random_(o_.seed) {}
    int Run();

private:
    std::wstring Path(const std::wstring& name) const { return o_.work + L"\\run\\" + name; }
    std::wstring Profile() const { return Path(L"docs"); }
    std::wstring CacheFile() const { return Profile() + L"\\Crateview\\Cache\\cvCache.db"; }
    std::wstring Playlist() const { return o_.work + L"\\lists\\mix.m3u"; }
    void WriteScript(const std::wstring& name, const std::wstring& body) const;
    void ResetProfile(const PhasePlan& plan) const;
    HostRun Start(const PhasePlan& plan, const std::wstring& script, const std::wstring& output) const;
    bool Reference(PhasePlan& plan);
    bool KillOnce(int number, const PhasePlan& plan);
    std::wstring FinishScript(const PhasePlan& plan, const CacheAudit& audit, bool saved) const;
    bool CountsComplete(const CacheAudit& audit) const;
    bool SettingsWhole() const;
    bool AddPlaylistRoot(const PhasePlan& scanned);

    Options o_;
    std::mt19937 random_;
    std::vector<std::wstring> roots_;
    std::vector<long long> filesOnDisk_;
    std::string playlistBefore_, playlistAfter_;
    long long taggedAfter_ = 0;
    int survived_ = 0, failed_ = 0, tornFound_ = 0;
};

// The tree and the script name a folder without its trailing backslash.
std::wstring Bare(std::wstring path) {
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

std::wstring AddRootLines(const std::wstring& root) {
    return L"add-root " + Bare(root) + L"\nanswer no\nwait-idle 120000\n";
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Driver::WriteScript(const std::wstring& name, const std::wstring& body) const {
    WriteFileThrough(Path(name), WideToUtf8(body));
}

void Driver::ResetProfile(const PhasePlan& plan) const {
    RemoveTree(Profile());
    if (plan.baseProfile.empty()) {
        WriteNewProfile(Profile());
    } else {
        CopyTree(plan.baseProfile, Profile());
    }
    WriteFileThrough(Playlist(), playlistBefore_);
}

HostRun Driver::Start(const PhasePlan& plan, const std::wstring& script, const std::wstring& output) const {
    std::vector<std::wstring> arguments = {L"--plugin", o_.plugin, L"--documents", Profile(), L"--script", Path(script)};
    arguments.insert(arguments.end(), plan.hostOptions.begin(), plan.hostOptions.end());
    return HostRun(o_.host, arguments, Path(output));
}

// Runs the phase to its end once: how long its work takes after the marker, and what it leaves.
bool Driver::Reference(PhasePlan& plan) {
    ResetProfile(plan);
    WriteScript(L"work.script", plan.script);
    HostRun run = Start(plan, L"work.script", L"reference.out");
    if (!run.WaitForLine(plan.marker, 120000)) {
        Print("reference " + std::string(kPhaseNames[static_cast<int>(plan.phase)]) + ": no marker\n" + run.Output());
        return false;
    }
    ULONGLONG from = NowMs();
    int code = run.Wait(300000);
    plan.spanMs = static_cast<DWORD>(NowMs() - from);
    CacheAudit audit = AuditCache(CacheFile(), roots_);
    Print("reference " + std::string(kPhaseNames[static_cast<int>(plan.phase)]) + ": exit " + std::to_string(code) +
          ", " + std::to_string(plan.spanMs) + " ms, " + audit.Describe());
    if (code != 0 || !audit.Sound()) {
        Print(run.Output());
        return false;
    }
    if (plan.phase == Phase::kScan) {
        filesOnDisk_ = audit.fileCounts;
        CopyTree(Profile(), Path(L"scanned"));
        return AddPlaylistRoot(plan);
    } else if (plan.phase == Phase::kTags) {
        taggedAfter_ = audit.taggedFiles;
    } else {
        ReadWholeFile(Playlist(), playlistAfter_);
        if (playlistAfter_ == playlistBefore_) {
            Print("reference save: the playlist did not change");
            return false;
        }
    }
    return true;
}

// The state the saves start from: the scanned roots and the playlist as a root of its own.
bool Driver::AddPlaylistRoot(const PhasePlan& scanned) {
    WriteScript(L"playlist.script", L"wait-idle 120000\nadd-playlist-root " + Playlist() + L"\nwait-idle 60000\nquit\n");
    HostRun run = Start(scanned, L"playlist.script", L"playlist.out");
    if (run.Wait(300000) != 0) {
        Print("adding the playlist root failed\n" + run.Output());
        return false;
    }
    CopyTree(Profile(), Path(L"withlist"));
    return true;
}

// The work the user would do again: roots not stored are added again, the tag pass is asked
// for again, the playlist saved again.
std::wstring Driver::FinishScript(const PhasePlan& plan, const CacheAudit& audit, bool saved) const {
    // Moving the row again would undo the saved change: a saved playlist is only looked at.
    if (plan.phase == Phase::kSave && saved) return L"wait-idle 120000\nquit\n";
    if (plan.phase != Phase::kScan) return plan.script;
    std::wstring script = L"wait-idle 120000\n";
    for (size_t i = 0; i < roots_.size(); ++i)
        if (i >= audit.roots.size() || audit.roots[i] != RootState::kPresent) script += AddRootLines(roots_[i]);
    return script + L"quit\n";
}

bool Driver::CountsComplete(const CacheAudit& audit) const {
    for (size_t i = 0; i < roots_.size(); ++i)
        if (audit.roots[i] != RootState::kPresent || audit.fileCounts[i] != filesOnDisk_[i]) return false;
    return true;
}

// The profile's settings file, written key by key while the player shuts down, is either the
// old file or a newer one, never cut short.
bool Driver::SettingsWhole() const {
    std::string ini;
    if (!ReadWholeFile(Profile() + L"\\Crateview\\gen_cv.ini", ini)) return false;
    return ini.find("File types=mp3;") != std::string::npos && !ini.empty() && ini.back() == '\n';
}

bool Driver::KillOnce(int number, const PhasePlan& plan) {
    const std::string name = kPhaseNames[static_cast<int>(plan.phase)];
    ResetProfile(plan);
    WriteScript(L"work.script", plan.script);
    std::uniform_int_distribution<DWORD> moment(0, plan.spanMs);
    DWORD delay = moment(random_);
    std::string line = "kill " + std::to_string(number) + " " + name + " +" + std::to_string(delay) + "ms: ";
    {
        HostRun run = Start(plan, L"work.script", L"kill.out");
        if (!run.WaitForLine(plan.marker, 120000)) {
            Print(line + "FAILED: never reached its marker\n" + run.Output());
            return false;
        }
        Sleep(delay);
        run.Kill();
    }
    CacheAudit afterKill = AuditCache(CacheFile(), roots_);
    std::string playlist;
    ReadWholeFile(Playlist(), playlist);
    bool playlistWhole = playlist == playlistBefore_ || playlist == playlistAfter_;
    bool settingsWhole = SettingsWhole();
    line += afterKill.Describe() + (plan.phase == Phase::kSave ? (playlist == playlistBefore_ ? " playlist=old" :
                                                                  playlist == playlistAfter_ ? " playlist=new" :
                                                                  " playlist=BROKEN")
                                                               : "");
    if (!settingsWhole) {
        std::string ini;
        bool read = ReadWholeFile(Profile() + L"\\Crateview\\gen_cv.ini", ini);
        line += " settings=BROKEN(" + std::string(read ? "" : "unreadable ") + std::to_string(ini.size()) + " bytes, ends " +
                std::to_string(ini.empty() ? -1 : static_cast<int>(static_cast<unsigned char>(ini.back()))) + ")";
    }
    for (RootState state : afterKill.roots) tornFound_ += state == RootState::kTorn;

    WriteScript(L"finish.script", FinishScript(plan, afterKill, playlist == playlistAfter_));
    HostRun finish = Start(plan, L"finish.script", L"finish.out");
    int code = finish.Wait(300000);
    CacheAudit finished = AuditCache(CacheFile(), roots_);
    std::string after;
    ReadWholeFile(Playlist(), after);
    bool done = code == 0 && finished.Sound() && CountsComplete(finished) &&
                (plan.phase != Phase::kTags || finished.taggedFiles >= taggedAfter_) &&
                (plan.phase != Phase::kSave || after == playlistAfter_);
    bool ok = afterKill.Sound() && playlistWhole && settingsWhole && done;
    line += " | next start: exit " + std::to_string(code) + ", " + finished.Describe() + (ok ? " ok" : " FAILED");
    Print(line);
    if (!done) Print(finish.Output());
    return ok;
}

int Driver::Run() {
    std::wstring lib = o_.work + L"\\lib\\";
    roots_ = {lib + L"r1\\", lib + L"r2\\", lib + L"r3\\"};
    CreateDirectoryW(Path(L"").c_str(), nullptr);
    if (!ReadWholeFile(Playlist(), playlistBefore_)) {
        Print("no playlist at lists\\mix.m3u");
        return 2;
    }
    std::wstring addAll = L"wait-idle 60000\n";
    for (const std::wstring& root : roots_) addAll += AddRootLines(root);
    PhasePlan scan{Phase::kScan, L"", addAll + L"quit\n", "> add-root", {}};
    // The host answers every tag slowly, so that the pass lasts long enough to be cut into.
    PhasePlan tags{Phase::kTags, Path(L"scanned"),
                   L"wait-idle 120000\nselect " + Bare(roots_[0]) + L"\nwait-idle 60000\nfocus list\nkey F6\nanswer yes\n"
                   L"wait-idle 300000\nquit\n",
                   "> key F6", {L"--tag-delay", L"20"}};
    PhasePlan save{Phase::kSave, Path(L"withlist"),
                   L"wait-idle 120000\nselect mix.m3u\n"
                   L"wait-idle 60000\nselect-rows 1\nfocus list\nkey ctrl+up\nwait-idle 10000\nkey ctrl+s\nanswer yes\n"
                   L"wait-idle 60000\nquit\n",
                   "> key ctrl+s", {}};
    if (!Reference(scan) || !Reference(tags) || !Reference(save)) return 1;
    PhasePlan* plans[] = {&scan, &tags, &save};
    for (int i = 0; i < o_.kills; ++i) {
        PhasePlan& plan = o_.only == L"scan" ? scan : o_.only == L"tags" ? tags : o_.only == L"save" ? save : *plans[i % 3];
        if (KillOnce(i + 1, plan)) {
            ++survived_;
        } else {
            ++failed_;
        }
    }
    Print("soak: kills=" + std::to_string(o_.kills) + " survived=" + std::to_string(survived_) + " failed=" +
          std::to_string(failed_) + " torn-roots=" + std::to_string(tornFound_) + " seed=" + std::to_string(o_.seed));
    return failed_ == 0 ? 0 : 1;
}

bool ReadOptions(int argc, wchar_t** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring name = argv[i], value = argv[i + 1];
        if (name == L"--host") o.host = value;
        else if (name == L"--plugin") o.plugin = value;
        else if (name == L"--work") o.work = value;
        else if (name == L"--kills") o.kills = _wtoi(value.c_str());
        else if (name == L"--seed") o.seed = static_cast<unsigned>(_wtoi(value.c_str()));
        else if (name == L"--only") o.only = value;
        else return false;
    }
    return !o.host.empty() && !o.plugin.empty() && !o.work.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: cvkill --host CVHOST --plugin GEN_CV --work DIR --kills N [--seed S] [--only PHASE]\n");
        return 2;
    }
    return Driver(options).Run();
}
