// What the window remembers between runs, kept in the user's state folder
// (userStateFolder(): $XDG_STATE_HOME/lodestar/, else ~/.local/state/lodestar/) as the small
// UTF-8 file "window-state": one "name=value" line per item, list items repeated in order.
// Texts escape "\" as "\\", a line feed as "\n" and a carriage return as "\r".
//
//     frame=120,80,1100,720     window position and size in pixels
//     maximized=0
//     split=0.28,0.5,0.62       the three splitters as shares of the room they move in
//     ignoreCase=1  global=1  dotAll=1  multiline=0
//     openFolder=/home/ann/notes/
//     pickerFolder=/home/ann/site/
//     pattern=<h1>(.*?)</h1>    the "Used Regexps" history, oldest first
//     recent=/home/ann/notes/todo.txt   Recent Files, newest first
//     recentFolder=/home/ann/site/      Recent Folders, newest first
//     lastPattern=<h1>(.*?)</h1>        the pattern box as the user left it
//     matchList=1  invisible=0  wordWrap=1   the view switches
//
// A damaged or foreign file is never a reason not to start: lines that cannot be read and
// names that are unknown are passed over, so an older program reads a newer file too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct WindowFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowFrame&) const = default;
};

struct WindowState {
    std::optional<WindowFrame> frame;
    // The left panel's share of the window width, the file table's and the source view's
    // shares of the right panel's height; each strictly between 0 and 1 when present.
    std::optional<double> leftShare, listShare, sourceShare;
    std::optional<bool> ignoreCase, global, dotAll, multiline;
    std::u16string openFolder;    // where the open dialog last was
    std::u16string pickerFolder;  // where the folder picker last was
    std::vector<std::u16string> patterns;
    std::vector<std::u16string> recentFiles;
    std::vector<std::u16string> recentFolders;
    std::optional<std::u16string> lastPattern;
    // The view switches: the match list shown, invisible characters shown, long lines wrapped.
    std::optional<bool> matchList, invisible, wordWrap;
    bool operator==(const WindowState&) const = default;
};

// The state file's path in `folder` (ending in "/").
std::u16string windowStatePath(const std::u16string& folder);

std::string formatWindowState(const WindowState& state);
WindowState parseWindowState(std::string_view bytes);

// A missing, unreadable or damaged file gives what could be read of it (nothing at worst).
WindowState loadWindowState(const std::u16string& path);
// Creates the folder when needed and replaces the file whole: a crash or a full disk leaves
// the old file or the new one, never a mix. Throws Error when it cannot be written.
void saveWindowState(const std::u16string& path, const WindowState& state);

}  // namespace lodestar
