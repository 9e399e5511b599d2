// The randomized folder user: the step pools, the other program's moves, the command-line runs
// beside the window's, one session with the checks after every step and the final restores,
// and the shrinking of a failing list of steps.
#include "forms/folder/random_folder_user.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "backups/backup.h"
#include "backups/backup_folder.h"
#include "backups/folder_lock.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "fakes/step_prompts.h"
#include "fakes/sync_work_runner.h"
#include "forms/main/window_fixture.h"
#include "support/cli_child.h"
#include "support/random_sessions.h"

namespace lodestar::testing {

namespace fs = std::filesystem;

namespace {

using Files = RandomFolderUser;

// new.htm is missing at the start: renames and the other program make it.
const char* const kNames[Files::kFiles] = {"page.htm", "page.txt",  "index.htm",
                                           "x.htm",    "notes.htm", "new.htm"};
// The user's own backups, there before the program ever ran.
const char* const kUsersOwn[] = {"page.bak", "x.bak", "bak/page.htm", "bak/x.htm", "bak/notes.txt"};
const char* const kFilters[] = {"*.htm;*.html", "*.txt;*.csv"};
const char16_t* const kPatterns[] = {u"a", u"b+", u"px",   u"x*",      u".",  u"a.b",
                                     u"(", u"zz", u"\\w+", u"<[^>]*>", u"^a", u"(a)(b)?"};
const char16_t* const kReplacements[] = {u"", u"o", u"$1", u"[$&]", u"em!", u"\\r\\n"};
const char* const kCommandFiles[] = {
    "rep ---a--- with ---b---;\r\n",
    "regrep cs ---(\\w)(\\w)--- with ---$2$1---;\r\n",
    "rep ---px--- with ---em---;\r\n",
    "rep ---(--- with ---x---;\r\n",
    nullptr,  // a command file that does not exist
};
const char* const kPieces[] = {"a", "b", "px", " ", "<p>", "</p>", "\r\n", "x", "zz", "ab", "\xE9"};
constexpr const char* kOutsideText = "outside the folder: never to be written\n";
const char* const kMoveNames[Files::kWorldMoves] = {"append", "rewrite", "truncate",  "delete",
                                                    "rename", "link",    "read-only", "writable"};
const char* const kSuccessLines[] = {"Files replaced successfully.", "Files restored successfully.",
                                     "batch replaced successfully"};

const char* actName(FolderAct act) {
    static const char* const names[] = {"Open",  "Tick",         "Pattern",  "Replacement",
                                        "Find",  "Replace",      "Action",   "Restore",
                                        "World", "CliAlongside", "CliKilled"};
    return names[static_cast<int>(act)];
}

std::string textOf(std::uint32_t seed, int pieces) {
    std::mt19937 rng(seed);
    std::string text;
    for (int i = 0; i < pieces; ++i) text += kPieces[rng() % countOf(kPieces)];
    return text;
}

// What stands at a path: "-" nothing, "L" a symbolic link, "F" and the bytes of a plain file.
std::string stateOf(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return "-";
    if (S_ISLNK(st.st_mode)) return "L";
    if (!S_ISREG(st.st_mode)) return "?";
    return "F" + readBytes(path);
}

std::string shown(const std::string& state) {
    if (state == "-") return "(missing)";
    if (state == "L") return "(a link)";
    std::string text = state.substr(1, 60);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = '|';
    return "\"" + text + (state.size() > 61 ? "...\"" : "\"");
}

// Every file and folder under `root`, with the bytes of the files.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> all;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        all[fs::relative(it->path(), root).string()] = stateOf(it->path());
    return all;
}

using fakes::StepPrompts;
}  // namespace

struct RandomFolderUser::Session {
    Session(std::uint32_t contentSeed, const TempDir& program, FolderTally& tally) : tally(tally) {
        folder = root.path() / "site";
        outside = root.path() / "outside";
        io = root.path() / "io";
        for (const fs::path& p : {folder / "bak", outside, io}) fs::create_directories(p);
        // The user's files: two share a stem, and the user keeps backups of his own.
        for (int f = 0; f + 1 < kFiles; ++f)
            write(folder / kNames[f], textOf(contentSeed + f, 4 + static_cast<int>(f * 3)));
        for (const char* own : kUsersOwn) write(folder / own, std::string("mine: ") + own);
        write(outside / "outside.htm", kOutsideText);
        outsideAtStart = snapshot(outside);
        for (const char* own : kUsersOwn) usersOwn[own] = stateOf(folder / own);
        for (int f = 0; f < kFiles; ++f) {
            start[f] = last[f] = stateOf(folder / kNames[f]);
            userStates[f].insert(start[f]);
            had[f].insert(start[f]);
        }
        setenv("XDG_STATE_HOME", (root.path() / "state").c_str(), 1);
        folderText = fromUtf8(folder.string() + "/");
        ws = startWorkspace(program.folder(),
                            WorkspaceServices{prompts, clipboard, timer, shell, nullptr, &runner},
                            u"", root.folder());
        w = &ws->window();
        mode = &ws->folder();
        changeOptions(*w, [](Options& o) {
            o.backupOnReplace = true;
            o.backupFolder = u"bak";
        });
    }

    static void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    void settle() { settlePanes(*w); }
    std::string log() const { return toUtf8(w->controls()["logger"].text); }

    void openFolder(int filter) {
        w->click("btnOpenFolder");
        mode->picker().select("filter", filter);
        mode->picker().typeText("Dir1", folderText);
        mode->picker().click("btnOK");
        settle();
        opened = w->MultiMode();
    }

    // The other program's move on file `f`; its texts come from `seed`.
    void world(int move, int f, unsigned seed) {
        const fs::path path = folder / kNames[f];
        const std::string now = stateOf(path);
        const bool plain = now[0] == 'F';
        std::error_code ec;
        int other = -1;
        switch (move) {
            case 0:  // append, or a new file
                if (now != "L")
                    std::ofstream(path, std::ios::binary | std::ios::app)
                        << textOf(seed, 1 + static_cast<int>(seed % 4));
                break;
            case 1:  // rewrite in place
                if (now != "L") write(path, textOf(seed, static_cast<int>(seed % 9)));
                break;
            case 2:  // truncate
                if (plain) fs::resize_file(path, (now.size() - 1) * (seed % 3) / 3, ec);
                break;
            case 3:
                fs::remove(path, ec);
                break;
            case 4:  // rename over another of the names
                other = (f + 1 + static_cast<int>(seed % (kFiles - 1))) % kFiles;
                if (now != "-") fs::rename(path, folder / kNames[other], ec);
                break;
            case 5:  // a link out of the folder in the file's place
                fs::remove(path, ec);
                fs::create_symlink(outside / "outside.htm", path, ec);
                break;
            case 6:
            case 7:
                if (plain)
                    fs::permissions(path, fs::perms::owner_write,
                                    move == 6 ? fs::perm_options::remove : fs::perm_options::add,
                                    ec);
                break;
        }
        for (int g : {f, other})
            if (g >= 0) seen(g, true);
    }

    // Takes note of what the file holds now; `byWorld`: the other program made it.
    void seen(int f, bool byWorld) {
        const std::string now = stateOf(folder / kNames[f]);
        if (byWorld && now != last[f]) {
            userStates[f].insert(now);
            worldTouched[f] = true;
        }
        had[f].insert(now);
        last[f] = now;
    }

    // True when `state` is kept as the backup of file `f` in the backup folder of the runs,
    // at its top or in an older step.
    bool inBackups(int f, const std::string& state) {
        if (state[0] != 'F') return false;
        std::optional<BackupFolderChoice> choice;
        try {
            choice = backupFolderOfRuns(folderText, u"bak");
        } catch (const std::exception&) {
            return false;
        }
        if (!choice) return false;
        const fs::path bak = toUtf8(choice->path);
        if (stateOf(bak / kNames[f]) == state) return true;
        std::error_code ec;
        for (const auto& step : fs::directory_iterator(bak / ".lodestar-steps", ec))
            if (stateOf(step.path() / kNames[f]) == state) return true;
        return false;
    }

    // The backup folders of the runs with their journals, for a fault's report.
    std::string backupsShown() const {
        std::string all;
        for (const auto& [name, state] : snapshot(folder)) {
            if (!name.starts_with("bak-")) continue;
            all += "  " + name;
            if (name.find(".lodestar-journal") != std::string::npos) all += ": " + state.substr(1);
            all += "\n";
        }
        return all;
    }

    std::vector<std::string> cliArgs(int kind) const {
        const std::string site = folder.string();
        if (kind == 1) return {"restore", site};
        if (kind == 2) return {"--filter", kFilters[0], "run", (io / "c.rep").string(), site};
        return {"--filter", kFilters[0], "replace", "a", "b", site};
    }

    void play(const FolderStep& s, std::size_t index);
    std::optional<std::string> check(const FolderStep& s);
    std::optional<std::string> restoreAll();

    TempDir root;
    fs::path folder, outside, io;
    std::u16string folderText;
    FolderTally& tally;
    std::map<std::string, std::string> outsideAtStart;
    std::map<std::string, std::string> usersOwn;
    std::string start[kFiles], last[kFiles];
    std::set<std::string> userStates[kFiles];  // the start and every text the other program made
    std::set<std::string> had[kFiles];         // every state seen
    bool worldTouched[kFiles] = {};
    StepPrompts prompts;
    fakes::FakeClipboard clipboard;
    fakes::FakeTimer timer;
    fakes::FakeShell shell;
    fakes::SyncWorkRunner runner;
    std::unique_ptr<Workspace> ws;
    MainWindow* w = nullptr;
    FolderScope* mode = nullptr;
    bool opened = false;
    int runs = 0;
    std::string logBefore;
    std::string cliErrors;
    int cliStatus = -1;  // of the command line run beside the window's
    std::string lastRestoreSaid;
};

void RandomFolderUser::Session::play(const FolderStep& s, std::size_t index) {
    logBefore = log();
    cliErrors.clear();
    cliStatus = -1;
    std::u16string chosen;
    if (s.act == FolderAct::Action) {
        const fs::path rep = io / "step.rep";
        fs::remove(rep);
        if (const char* commands = kCommandFiles[s.a]) write(rep, commands);
        chosen = fromUtf8(rep.string());
    }
    prompts.nextStep(s.answers, chosen);
    // The other program's move during a run, after a report of the run.
    runner.reports = 0;
    runner.afterReport = nullptr;
    if (s.duringRun >= 0) {
        const int after = 1 + static_cast<int>((s.answers >> 12) % 4);
        runner.afterReport = [this, s, after, index](int reports) {
            if (reports == after)
                world(s.duringRun / 16, s.duringRun % 16, s.answers ^ static_cast<unsigned>(index));
        };
    }
    const bool runsLeft = runs < kMaxRuns;
    switch (s.act) {
        case FolderAct::Open:
            openFolder(s.a);
            break;
        case FolderAct::Tick:
            if (opened) w->onFileTicked(s.a, s.b != 0);
            break;
        case FolderAct::Pattern:
            w->typeText("inRepFrom", kPatterns[s.a]);
            break;
        case FolderAct::Replacement:
            w->typeText("inRepWith", kReplacements[s.a]);
            break;
        case FolderAct::Find:
            w->click("btnFind");
            break;
        case FolderAct::Replace:
            if (!runsLeft) break;
            ++runs;
            changeOptions(*w, [&](Options& o) { o.noCountOnReplace = s.b == 0; });
            w->click("btnReplace");
            break;
        case FolderAct::Action:
            if (!runsLeft) break;
            ++runs;
            w->click("btnAction");
            break;
        case FolderAct::Restore:
            w->click("btnRestore");
            break;
        case FolderAct::World:
            world(s.a, s.b, s.answers);
            break;
        case FolderAct::CliAlongside: {
            if (!runsLeft) break;
            runs += 2;
            const Child child = startCli(cliArgs(s.a), io);
            changeOptions(*w, [](Options& o) { o.noCountOnReplace = false; });
            w->click("btnReplace");
            cliStatus = finish(child);
            cliErrors = readBytes(child.errFile);
            break;
        }
        case FolderAct::CliKilled: {
            if (!runsLeft) break;
            ++runs;
            write(io / "c.rep", kCommandFiles[0]);
            const Child child = startCli(cliArgs(s.a), io);
            std::this_thread::sleep_for(std::chrono::microseconds(50 * s.b));
            ::kill(child.pid, SIGKILL);
            finish(child);
            cliErrors = readBytes(child.errFile);
            break;
        }
    }
    settle();
    runner.afterReport = nullptr;
}

std::optional<std::string> RandomFolderUser::Session::check(const FolderStep& s) {
    const std::string all = log();
    const std::string added = all.substr(std::min(logBefore.size(), all.size()));
    const bool failed = added.find("Err:") != std::string::npos;
    const std::string busy = toUtf8(kFolderBusyMessage).substr(0, 30);
    if (added.find(busy) != std::string::npos || cliErrors.find(busy) != std::string::npos)
        ++tally.busyRefusals;
    for (std::size_t at = 0;
         (at = added.find("hanged by another program", at)) != std::string::npos; ++at)
        ++tally.changedByOther;

    // Nothing outside the folder changed; the user's own backups keep their bytes, and the
    // user's own "bak/" gains nothing.
    if (snapshot(outside) != outsideAtStart) return "a file outside the folder changed";
    for (const auto& [name, bytes] : usersOwn)
        if (stateOf(folder / name) != bytes)
            return "the user's own " + name + " now holds " + shown(stateOf(folder / name));
    if (snapshot(folder / "bak").size() != 3) return "the user's own bak/ folder changed";

    // Each file: left as it was, or changed by the program with the user's text kept.
    const bool writes = s.act == FolderAct::Replace || s.act == FolderAct::Action ||
                        s.act == FolderAct::Restore || s.act == FolderAct::CliAlongside ||
                        s.act == FolderAct::CliKilled;
    // A restore may take back a text the other program wrote after the run: so Restore is meant.
    const bool restores = s.act == FolderAct::Restore ||
                          (s.act == FolderAct::CliKilled && s.a == 1) ||
                          (s.act == FolderAct::CliAlongside && s.a == 1) ||
                          prompts.asked.find(u"estore") != std::u16string::npos;
    for (int f = 0; f < kFiles; ++f) {
        const std::string now = stateOf(folder / kNames[f]);
        const std::string before = last[f];
        if (now == before) continue;
        const std::string name = kNames[f];
        if (!writes)
            return name + " changed in a step that writes nothing: " + shown(before) + " -> " +
                   shown(now);
        const bool usersText = userStates[f].count(before) > 0;
        if (restores && had[f].count(now)) {
            // Back to a state it had; a text of the other program's made since is taken back.
            if (usersText && before != start[f] && !inBackups(f, before)) ++tally.worldUndone;
        } else {
            if (before[0] != 'F')
                return "the program put a file where " + name + " was " + shown(before) + ": now " +
                       shown(now);
            if (usersText && !inBackups(f, before))
                return name + " held " + shown(before) + ", now " + shown(now) +
                       ", and no backup keeps the old text";
        }
        ++tally.filesChanged;
        last[f] = now;
        had[f].insert(now);
    }

    // A step that logged an error does not log success too.
    if (cliStatus == 0 && cliErrors.find(busy) != std::string::npos)
        return "the command line was refused as another run worked, yet it exited with 0";
    if (failed && toUtf8(w->controls()["lblStatus"].text) == "Done.")
        return "an error was logged, yet the status says Done.: " + added;
    if (failed)
        for (const char* line : kSuccessLines)
            if (added.find(line) != std::string::npos)
                return std::string("an error and \"") + line + "\" in one step: " + added;
    return std::nullopt;
}

// Restore, answered OK, until nothing is left to take back; then every file the other program
// never touched is back at its start, every other holds its start or a text of the other
// program's.
std::optional<std::string> RandomFolderUser::Session::restoreAll() {
    if (!opened) openFolder(0);
    for (int round = 0; round < 2 * kMaxRuns + 4; ++round) {
        const bool waiting =
            !runSteps(folderText, u"bak").empty() || lastRunUnfinished(folderText, u"bak");
        if (!waiting) break;
        if (!w->controls()["btnRestore"].enabled) {
            // The window does not offer what remains: the command line takes it back.
            ++tally.cliRestores;
            const Child child = startCli({"restore", folder.string()}, io);
            finish(child);
            const std::string err = readBytes(child.errFile);
            lastRestoreSaid = "(command line) " + err;
            if (!err.empty() && err.find("successfully") == std::string::npos &&
                err.find("Err") != std::string::npos)
                return "the command line's restore failed: " + err;
        } else {
            FolderStep s{FolderAct::Restore, 0, 0, ~0u};
            play(s, 0);
            lastRestoreSaid = log().substr(std::min(logBefore.size(), log().size()));
            if (auto fault = check(s)) return "final Restore: " + *fault;
        }
        for (int f = 0; f < kFiles; ++f) seen(f, false);
    }
    if (!runSteps(folderText, u"bak").empty())
        return "Restore leaves steps behind; the last restore said: " + lastRestoreSaid +
               "\nthe backup folders hold:\n" + backupsShown();
    for (int f = 0; f < kFiles; ++f) {
        const std::string now = stateOf(folder / kNames[f]);
        if (now == start[f]) continue;
        if (!worldTouched[f])
            return std::string(kNames[f]) + " is not back at its start " + shown(start[f]) +
                   " after every Restore: " + shown(now);
        if (!userStates[f].count(now))
            return std::string(kNames[f]) + " holds " + shown(now) +
                   " after every Restore: neither its start nor a text of the other program";
    }
    return std::nullopt;
}

RandomFolderUser::RandomFolderUser(std::uint32_t contentSeed)
    : contentSeed_(contentSeed), program_(std::make_unique<TempDir>()) {
    makeProgramFolder(*program_);
    setenv("XDG_CONFIG_HOME", (program_->path() / "config").c_str(), 1);
    // One worker: a run's reports, and the other program's moves between them, replay exactly.
    setWorkerThreads(1);
}

RandomFolderUser::~RandomFolderUser() = default;

std::optional<FolderFault> RandomFolderUser::run(const std::vector<FolderStep>& steps) {
    Session session(contentSeed_, *program_, tally_);
    played_ = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        ++played_;
        ++tally_.steps;
        try {
            const FolderStep& s = steps[i];
            if (s.act == FolderAct::Replace || s.act == FolderAct::Action) ++tally_.runs;
            if (s.act == FolderAct::Restore) ++tally_.restores;
            session.play(s, i);
            if (std::optional<std::string> what = session.check(s)) return FolderFault{i, *what};
        } catch (const std::exception& e) {
            return FolderFault{i, std::string("an exception escaped: ") + e.what()};
        }
    }
    if (std::getenv("LODESTAR_RANDOM_VERBOSE")) std::cout << session.log() << "\n";
    try {
        if (std::optional<std::string> what = session.restoreAll())
            return FolderFault{steps.size(), *what};
    } catch (const std::exception& e) {
        return FolderFault{steps.size(), std::string("an exception escaped: ") + e.what()};
    }
    return std::nullopt;
}

std::vector<FolderStep> RandomFolderUser::randomSteps(std::uint32_t seed, std::size_t count) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // How often each kind of step comes, in the order of FolderAct.
    const int weights[] = {5, 4, 5, 4, 4, 7, 4, 4, 10, 1, 1};
    int total = 0;
    for (int w : weights) total += w;
    std::vector<FolderStep> steps{{FolderAct::Open, 0, 0, ~0u}};
    while (steps.size() < count) {
        int r = pick(total), k = 0;
        while (r >= weights[k]) r -= weights[k++];
        FolderStep s{static_cast<FolderAct>(k)};
        s.answers = static_cast<unsigned>(rng()) | 1u;  // mostly OK to the first question
        if (pick(5) == 0) s.answers &= ~1u;
        switch (s.act) {
            case FolderAct::Open:
                s.a = pick(4) == 0 ? 1 : 0;
                break;
            case FolderAct::Tick:
                s.a = 1 + pick(kFiles);
                s.b = pick(3) != 0;
                break;
            case FolderAct::Pattern:
                s.a = pick(countOf(kPatterns));
                break;
            case FolderAct::Replacement:
                s.a = pick(countOf(kReplacements));
                break;
            case FolderAct::Replace:
            case FolderAct::Action:
            case FolderAct::Find:
            case FolderAct::Restore:
                if (s.act == FolderAct::Action) s.a = pick(countOf(kCommandFiles));
                s.b = pick(2);
                if (pick(3) == 0) s.duringRun = pick(kWorldMoves) * 16 + pick(kFiles);
                break;
            case FolderAct::World:
                s.a = pick(kWorldMoves);
                s.b = pick(kFiles);
                break;
            case FolderAct::CliAlongside:
                s.a = pick(2);
                break;
            case FolderAct::CliKilled:
                s.a = pick(3);
                s.b = pick(200);
                break;
        }
        steps.push_back(s);
    }
    return steps;
}

std::vector<FolderStep> RandomFolderUser::shrink(std::vector<FolderStep> steps) {
    return shrinkSteps(std::move(steps),
                       [this](const std::vector<FolderStep>& list) { return run(list); });
}

std::string RandomFolderUser::asCode(std::uint32_t contentSeed,
                                     const std::vector<FolderStep>& steps) {
    std::ostringstream out;
    out << "RandomFolderUser user(" << contentSeed << ");\nEXPECT_FALSE(user.run({\n";
    for (const FolderStep& s : steps)
        out << "    {FolderAct::" << actName(s.act) << ", " << s.a << ", " << s.b << ", "
            << s.answers << "u, " << s.duringRun << "},"
            << (s.act == FolderAct::World ? std::string("  // ") + kMoveNames[s.a] : "") << "\n";
    out << "}));\n";
    return out.str();
}

}  // namespace lodestar::testing
