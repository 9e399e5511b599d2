// Drives of the folder picker, from the mount table.
#include "forms/folder/drive_list.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/text.h"

namespace lodestar {

namespace {

// The mount table writes space, tab, newline and backslash as three octal digits.
std::string unescapeMountPoint(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool under(const std::string& path, const std::string& parent) {
    return path.size() > parent.size() && path.compare(0, parent.size(), parent) == 0 &&
           path[parent.size()] == '/';
}

}  // namespace

std::vector<std::u16string> pickableDrives(std::string_view mountTable,
                                           const std::u16string& home) {
    std::vector<std::u16string> drives = {u"/"};
    auto addOnce = [&drives](const std::u16string& d) {
        if (!d.empty() && std::find(drives.begin(), drives.end(), d) == drives.end())
            drives.push_back(d);
    };
    addOnce(home);
    std::istringstream lines{std::string(mountTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, point;
        if (!(fields >> device >> point)) continue;
        point = unescapeMountPoint(point);
        if (under(point, "/media") || under(point, "/mnt") || under(point, "/run/media"))
            addOnce(fromUtf8(point));
    }
    return drives;
}

std::vector<std::u16string> machineDrives() {
    std::ifstream in("/proc/self/mounts");
    std::stringstream table;
    table << in.rdbuf();
    const char* home = std::getenv("HOME");
    return pickableDrives(table.str(), home ? fromUtf8(home) : std::u16string());
}

}  // namespace lodestar
