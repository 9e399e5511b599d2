// The randomized user: the step pools, one session on a fresh window with the checks after every
// step, and the shrinking of a failing list of steps.
#include "forms/main/random_user.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "backups/backup.h"
#include "core/text.h"
#include "fakes/step_prompts.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/main/window_fixture.h"
#include "render/invisible_marks.h"
#include "search/search_request.h"
#include "support/random_sessions.h"

namespace lodestar::testing {

namespace fs = std::filesystem;

namespace {

const char* const kFileNames[RandomUser::kFiles] = {"f0.htm", "f1.txt", "notes", "big.htm"};

const char16_t* const kPatterns[] = {
    u"a",          u"A",   u"b+",  u"x*",   u".",     u"a.b",     u"\\.",  u"^a",     u"b$",
    u"(a)(b)?\\1", u"(",   u"a[",  u"zzz",  u"",      u"<[^>]*>", u"&",    u"\\r\\n", u"[\\s\\S]",
    u"p->dot",     u"\\t", u"[.]", u"\\w+", u"(?=a)", u"a|",      u"\\bA", u"[^a]*",  u"(.)\\1"};
const char16_t* const kReplacements[] = {u"",       u"o",    u"$1", u"[$&]",         u"\\t",
                                         u"\\r\\n", u"&gt;", u"$$", u"\u20AC\u4E2D", u"\\\\"};
const char* const kCommandFiles[] = {
    "rep ---a--- with ---b---;\r\n",
    "regrep cs ---(\\w)(\\w)--- with ---$2$1---;\r\n",
    "rep cs ---A---;\r\n",
    "/// only a comment\r\n",
    "!delimiter=\"##\"\r\nrep ##b## with ##<&>##;\r\n",
    "rep ---(--- with ---x---;\r\n",
    "rep ---x*--- with ---!---;\r\nrep cs ---a--- with ---A---;\r\n",
    nullptr,  // a command file that does not exist
};
const char* const kSwitches[] = {"chkIgnoreCase", "mIgnore", "chkGlobal", "mGlobal",
                                 "chkMultiline",  "mDot",    "chkLine",   "mLine"};
const char* const kViews[] = {"View_ML", "mMlist", "btnViewIn", "mViewIn",
                              "btnWrap", "mWrap",  "View_FS",   "mFsrc"};
const char* const kPieces[] = {"a",    "A",   "b", "B",    " ",       "<",
                               ">",    "&",   ";", "\r\n", "\t",      "\"",
                               "'",    "=",   "!", "-",    "p->dot;", "<p class='c'>",
                               "</p>", "&gt", "x", ".",    "\xE9"};
// Texts longer than this are not grown further: the user stops replacing and running.
constexpr std::size_t kMaxText = 60000;

const char* actName(Act act) {
    static const char* const names[] = {
        "Open",  "Pattern",  "Replacement", "Switch",      "Find",   "Next", "Prev",
        "Entry", "Replace",  "Save",        "Restore",     "Action", "View", "InstantTest",
        "Tick",  "ReadOnly", "BlockBackup", "UsedPattern", "Exit"};
    return names[static_cast<int>(act)];
}

using fakes::StepPrompts;

struct Switches {
    bool ignoreCase = true, global = true, multiline = false;
};

std::size_t freshCount(const std::u16string& pattern, const Switches& s,
                       const std::u16string& text) {
    RegExp fresh;
    fresh.setIgnoreCase(s.ignoreCase);
    fresh.setGlobal(s.global);
    fresh.setMultiline(s.multiline);
    fresh.setPattern(pattern);
    return fresh.count(text);
}

}  // namespace

struct RandomUser::Session {
    Session(const TempDir& program, const std::vector<std::string>& originals) {
        for (int f = 0; f < kFiles; ++f) {
            paths[f] = docs.put(kFileNames[f], originals[f]);
            allowed[f].insert(LoadFileText(paths[f]));
            had[f] = allowed[f];
        }
        programFolder = program.folder();
        ws = startWorkspace(programFolder,
                            WorkspaceServices{prompts, clipboard, timer, shell, nullptr, &runner});
        w = &ws->window();
    }

    void settle() { settlePanes(*w); }
    const Control& c(const std::string& name) const { return w->controls()[name]; }
    Switches ticks() const {
        return {c("chkIgnoreCase").checked, c("chkGlobal").checked, c("chkLine").checked};
    }
    int fileOf(const std::u16string& path) const {
        for (int f = 0; f < kFiles; ++f)
            if (paths[f] == path) return f;
        return -1;
    }
    static std::string u8(const std::u16string& t) { return toUtf8(t); }

    void play(const Step& s);
    std::optional<std::string> check(const Step& s);

    TempDir docs;
    std::u16string programFolder;
    std::u16string paths[kFiles];
    std::set<std::u16string> allowed[kFiles];  // original and every text asked to be saved
    std::set<std::u16string> had[kFiles];      // every text seen in the file
    StepPrompts prompts;
    fakes::FakeClipboard clipboard;
    fakes::FakeTimer timer;
    fakes::FakeShell shell;
    fakes::SyncWorkRunner runner;
    std::unique_ptr<Workspace> ws;
    MainWindow* w = nullptr;

    Switches searched;  // the switches of the search whose result is shown
    std::u16string textBefore;
    std::u16string logBefore;
    Switches ticksBefore;
    std::u16string chosenPath;
    bool saveOffered = false;  // Save was enabled before the step
    bool opened = false;       // a file was opened: from then on the source view shows txtDoc
};

void RandomUser::Session::play(const Step& s) {
    textBefore = w->document().text;
    logBefore = c("logger").text;
    ticksBefore = ticks();
    std::u16string chosen;
    if (s.act == Act::Open && s.a < kFiles) chosen = paths[s.a];
    if (s.act == Act::Action) {
        const char* commands = kCommandFiles[s.a];
        chosen = programFolder + u"rep/step.rep";
        fs::remove(toUtf8(chosen));
        if (commands) {
            std::ofstream out(toUtf8(chosen), std::ios::binary);
            out << commands;
        }
    }
    prompts.nextStep(s.answers, chosen);
    chosenPath = chosen;
    saveOffered = c("btnSave").enabled;
    const bool twin = s.b == 1 || s.a == 1;
    switch (s.act) {
        case Act::Open:
            w->click(s.b ? "mOpenFile" : "selFile");
            break;
        case Act::Pattern:
            w->typeText("inRepFrom", kPatterns[s.a]);
            break;
        case Act::Replacement:
            w->typeText("inRepWith", kReplacements[s.a]);
            break;
        case Act::Switch:
            w->click(kSwitches[s.a]);
            break;
        case Act::Find:
            w->click(twin ? "mFind" : "btnFind");
            break;
        case Act::Next:
            w->click("btnNext");
            break;
        case Act::Prev:
            w->click("btnPrev");
            break;
        case Act::Entry:
            if (w->pane(Pane::MatchView).entryCount() > 0)
                w->onBeforeNavigate(Pane::MatchView,
                                    w->pane(Pane::MatchView).address() + u"#" + decimal(s.a));
            break;
        case Act::Replace:
            if (w->document().text.size() < kMaxText) w->click(twin ? "mReplace" : "btnReplace");
            break;
        case Act::Save:
            w->click(twin ? "mSave" : "btnSave");
            break;
        case Act::Restore:
            w->click(twin ? "mRestore" : "btnRestore");
            break;
        case Act::Action:
            if (w->document().text.size() < kMaxText) w->click("btnAction");
            break;
        case Act::View:
            w->click(kViews[s.a]);
            break;
        case Act::InstantTest:
            w->click("mClose");
            break;
        case Act::Tick:
            if (timer.armed) w->onTimer1Tick();
            break;
        case Act::ReadOnly: {
            const fs::path p = toUtf8(paths[s.a]);
            fs::permissions(p, fs::perms::owner_write,
                            s.b ? fs::perm_options::remove : fs::perm_options::add);
            break;
        }
        case Act::BlockBackup: {
            const fs::path bak = toUtf8(siblingBackupPath(paths[s.a]));
            if (s.b) {
                if (!fs::is_directory(bak)) fs::remove(bak);
                fs::create_directories(bak / "busy");
            } else if (fs::is_directory(bak)) {
                fs::remove_all(bak);
            }
            break;
        }
        case Act::UsedPattern:
            if (w->usedPatterns().count() > 0)
                w->click("mRegs(" + std::to_string(1 + s.a % w->usedPatterns().count()) + ")");
            break;
        case Act::Exit:
            w->click("mExit");
            break;
    }
    if (!s.late) settle();
    // Find and the re-shows (invisible characters, Instant Test) search with the ticks of now.
    const bool reShown = s.act == Act::View && (s.a == 2 || s.a == 3);
    const bool searchedNow = s.act == Act::Find && prompts.messages == 0;  // not the empty box
    if (searchedNow || reShown || s.act == Act::InstantTest) searched = ticks();
}

std::optional<std::string> RandomUser::Session::check(const Step& s) {
    std::ostringstream why;
    const std::u16string log = c("logger").text;
    const std::u16string added = log.substr(std::min(logBefore.size(), log.size()));
    const bool failed = added.find(u"Err:") != std::u16string::npos;

    // Files on disk and their backups.
    for (int f = 0; f < kFiles; ++f) {
        const std::u16string disk = LoadFileText(paths[f]);
        if (!allowed[f].count(disk))
            return "file " + std::string(kFileNames[f]) + " holds a text never saved: " + u8(disk);
        had[f].insert(disk);
        const std::u16string bak = siblingBackupPath(paths[f]);
        if (fs::is_regular_file(toUtf8(bak)) && !had[f].count(LoadFileText(bak)))
            return "the backup of " + std::string(kFileNames[f]) +
                   " holds a text the file never had: " + u8(LoadFileText(bak));
    }

    // Save is offered exactly while memory and disk differ.
    const bool single = !w->MultiMode() && !w->document().path.empty();
    const bool differs = single && w->document().text != LoadFileText(w->document().path);
    if (c("btnSave").enabled != differs || c("mSave").enabled != differs)
        return std::string("Save is ") + (c("btnSave").enabled ? "enabled" : "disabled") +
               " while memory and disk " + (differs ? "differ" : "agree");

    // The source view shows the text in memory.
    const PaneModel& source = w->pane(Pane::SuperMonitor);
    if (!w->document().path.empty()) opened = true;
    if (opened) {
        const std::u16string shown = w->file().showInvisible()
                                         ? toInvisibleMarks(w->document().text)
                                         : w->document().text.str();
        const std::u16string body = source.bodyText();
        if (!source.busy() && body != shown) {
            std::size_t at = 0;
            while (at < body.size() && at < shown.size() && body[at] == shown[at]) ++at;
            const std::size_t from = at < 20 ? 0 : at - 20;
            return "the source view shows \"" + u8(body.substr(from, 40)) + "\" for \"" +
                   u8(shown.substr(from, 40)) + "\" at " + std::to_string(at) + " of " +
                   std::to_string(shown.size());
        }
    }

    // The ticks are the switches in use.
    const Switches t = ticks();
    if (c("mIgnore").checked != t.ignoreCase || c("mGlobal").checked != t.global ||
        c("mLine").checked != t.multiline || c("mDot").checked != c("chkMultiline").checked ||
        c("chkMultiline").checked != w->dotAll())
        return "a menu tick and its box disagree";
    if (w->request().switches().ignoreCase != t.ignoreCase ||
        w->request().switches().global != t.global ||
        w->request().switches().multiline != t.multiline)
        return "the engine's switches are not the ticked ones";

    if (w->closed()) {  // what a closed window shows no longer counts
        if (saveOffered && !w->MultiMode() && prompts.questions == 0)
            return "the window closed with unsaved text without asking";
        return std::nullopt;
    }

    // Counter, marks and list against a fresh count.
    const std::string counter = u8(c("matchNo").text);
    // The scratch pad's result follows the pattern as typed under the ticks of now, once the
    // typing pauses; its marks are the pad's own, not the source view's.
    const bool scratch = w->file().scratchOpen();
    if (scratch && w->file().scratchPending()) {
        // Until the pause ends the result is the one before the change.
    } else if (w->file().searchDone()) {
        std::size_t fresh = 0;
        if (!scratch) {
            fresh = freshCount(w->request().searchPattern(), searched, w->document().text);
        } else {
            const Switches now = ticks();
            const SearchRequest typed = SearchRequest::build(
                c("inRepFrom").text, u"",
                {now.ignoreCase, now.global, c("chkMultiline").checked, now.multiline},
                w->currentOptions().escapeSupport);
            if (!typed.error()) fresh = freshCount(typed.searchPattern(), now, w->document().text);
        }
        const auto n = static_cast<std::size_t>(w->file().matchCount());
        if (n != fresh || (w->file().lastMatches() ? w->file().lastMatches()->size() : 0) != n)
            return "the result counts " + std::to_string(n) + " matches, a fresh count " +
                   std::to_string(fresh);
        if (!scratch && !source.busy() && source.markCount() != n)
            return std::to_string(source.markCount()) + " marks for " + std::to_string(n) +
                   " matches";
        if (w->file().matchListBuilt() && c("MatchView").visible &&
            w->pane(Pane::MatchView).entryCount() != n)
            return "the list has " + std::to_string(w->pane(Pane::MatchView).entryCount()) +
                   " entries for " + std::to_string(n) + " matches";
        if (counter != std::to_string(w->file().curMatch()) + "/" + std::to_string(n) &&
            !(w->file().curMatch() == 0 && counter == "0/" + std::to_string(n)))
            return "the counter shows " + counter + " for match " +
                   std::to_string(w->file().curMatch());
        if (u8(c("lblTotal").text) != std::to_string(n))
            return "the total shows " + u8(c("lblTotal").text) + " for " + std::to_string(n);
    } else {
        // The window starts with "0" in the counter; every reset shows "0/0".
        if (counter != "0/0" && !(counter == "0" && !opened))
            return "no result, yet the counter shows " + counter;
        if (c("btnNext").enabled || c("btnPrev").enabled) return "no result, yet moves are offered";
        if (!source.busy() && source.markCount() != 0)
            return "no result, yet the source view shows " + std::to_string(source.markCount()) +
                   " marks";
    }

    // A failed step says so, and nothing claims success for it.
    if (failed && u8(c("lblStatus").text) == "Done.")
        return "an error was logged, yet the status says Done.: " + u8(added);
    if (s.act == Act::Save && prompts.cancelled == 0 && differs) {
        if (!failed || prompts.messages == 0)
            return "a save that wrote nothing was not reported in a box and the log";
        if (added.find(u"* Saved") != std::u16string::npos) return "a failed save logged success";
    }
    if (added.find(u"* Open file ") != std::u16string::npos && w->document().path != chosenPath)
        return "the log says a file was opened, yet the window holds " + u8(w->document().path);
    if (added.find(u"* Batch replace completed.") != std::u16string::npos && failed)
        return "a command file run logged both an error and its completion";
    const std::size_t replaced = added.find(u" items replaced");
    if (s.act == Act::Replace && replaced != std::u16string::npos) {
        const std::size_t start = added.rfind(u"* ", replaced) + 2;
        const std::string claimed = u8(added.substr(start, replaced - start));
        const std::size_t fresh = freshCount(w->request().searchPattern(), ticksBefore, textBefore);
        if (claimed != std::to_string(ticksBefore.global ? fresh : std::min<std::size_t>(fresh, 1)))
            return "the log says " + claimed + " items replaced, a fresh count " +
                   std::to_string(fresh);
    }
    return std::nullopt;
}

RandomUser::RandomUser(std::uint32_t contentSeed) : program_(std::make_unique<TempDir>()) {
    makeProgramFolder(*program_);
    std::mt19937 rng(contentSeed);
    for (int f = 0; f < kFiles; ++f) {
        std::string text;
        const int pieces = f == kFiles - 1 ? 3500 : static_cast<int>(rng() % 31);
        for (int i = 0; i < pieces; ++i) text += kPieces[rng() % countOf(kPieces)];
        originals_.push_back(text);
    }
}

RandomUser::~RandomUser() = default;

std::optional<Fault> RandomUser::run(const std::vector<Step>& steps) {
    Session session(*program_, originals_);
    played_ = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        ++played_;
        try {
            if (s.act == Act::Save && !session.w->document().path.empty()) {
                const int f = session.fileOf(session.w->document().path);
                if (f >= 0) session.allowed[f].insert(session.w->document().text);
            }
            session.play(s);
            if (std::optional<std::string> what = session.check(s)) return Fault{i, *what};
        } catch (const std::exception& e) {
            return Fault{i, std::string("an exception escaped: ") + e.what()};
        }
        if (session.w->closed()) break;
    }
    return std::nullopt;
}

std::vector<Step> RandomUser::randomSteps(std::uint32_t seed, std::size_t count) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // How often each kind of step comes, in the order of Act; Exit only ever ends a session.
    const int weights[] = {6, 8, 5, 5, 10, 5, 3, 3, 6, 5, 4, 3, 4, 1, 4, 1, 1, 2, 0};
    int total = 0;
    for (int w : weights) total += w;
    std::vector<Step> steps;
    steps.reserve(count);
    while (steps.size() < count) {
        int r = pick(total), k = 0;
        while (r >= weights[k]) r -= weights[k++];
        Step s{static_cast<Act>(k)};
        s.answers = static_cast<unsigned>(rng()) | 1u;  // mostly OK to the first question
        if (pick(4) == 0) s.answers &= ~1u;
        s.late = pick(8) == 0;
        switch (s.act) {
            case Act::Open:
                s.a = pick(kFiles + 1);
                s.b = pick(2);
                break;
            case Act::Pattern:
                s.a = pick(countOf(kPatterns));
                break;
            case Act::Replacement:
                s.a = pick(countOf(kReplacements));
                break;
            case Act::Switch:
                s.a = pick(countOf(kSwitches));
                break;
            case Act::Entry:
                s.a = 1 + pick(12);
                break;
            case Act::Action:
                s.a = pick(countOf(kCommandFiles));
                break;
            case Act::View:
                s.a = pick(countOf(kViews));
                break;
            case Act::ReadOnly:
            case Act::BlockBackup:
                s.a = pick(kFiles);
                s.b = pick(2);
                break;
            default:
                s.a = pick(2);
                s.b = pick(2);
                break;
        }
        steps.push_back(s);
    }
    if (!steps.empty() && pick(2) == 0)
        steps.back() = Step{Act::Exit, 0, 0, static_cast<unsigned>(rng())};
    return steps;
}

std::vector<Step> RandomUser::shrink(std::vector<Step> steps) {
    return shrinkSteps(std::move(steps), [this](const std::vector<Step>& list) { return run(list); });
}

std::string RandomUser::asCode(std::uint32_t contentSeed, const std::vector<Step>& steps) {
    std::ostringstream out;
    out << "RandomUser user(" << contentSeed << ");\nEXPECT_FALSE(user.run({\n";
    for (const Step& s : steps)
        out << "    {Act::" << actName(s.act) << ", " << s.a << ", " << s.b << ", "
            << (s.answers & 0xFF) << (s.late ? ", true" : "") << "},\n";
    out << "}));\n";
    return out.str();
}

}  // namespace lodestar::testing
