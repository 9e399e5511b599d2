// The typed control ids stay the windows' contract: every control and menu entry a window's
// catalogue makes has an id, and every id names a control of its window.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "forms/model/control_ids.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

// The ids declared in one namespace of the id header.
std::set<std::string> declaredIds(const std::string& space) {
    std::ifstream in(std::string(LODESTAR_SOURCE_DIR) + "/src/forms/model/control_ids.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::size_t begin = all.find("namespace " + space + " {");
    const std::size_t end = all.find("}  // namespace " + space, begin);
    EXPECT_NE(begin, std::string::npos) << space;
    std::set<std::string> ids;
    const std::string block = all.substr(begin, end - begin);
    const std::regex declared(R"(LODESTAR_CONTROL\((\w+)\))");
    for (std::sregex_iterator it(block.begin(), block.end(), declared), last; it != last; ++it)
        ids.insert((*it)[1]);
    return ids;
}

// The names a window's catalogue made, without the entries made while the program runs.
std::set<std::string> catalogued(const ControlModel& controls) {
    std::set<std::string> names;
    for (const std::string& name : controls.names())
        if (!main_ids::mRegs.indexOf(name) && !main_ids::mRecentFile.indexOf(name))
            names.insert(name);
    return names;
}

TEST_F(WindowTest, EveryControlOfEveryWindowHasItsIdAndNoIdIsStale) {
    const struct {
        const char* space;
        const ControlModel& controls;
    } windows[] = {
        {"main_ids", w->controls()},
        {"folder_ids", ws->folder().picker().controls()},
        {"export_ids", ws->exportForm().controls()},
        {"options_ids", ws->optionSetting().controls()},
        {"assist_ids", ws->assistant().controls()},
    };
    for (const auto& window : windows)
        EXPECT_EQ(declaredIds(window.space), catalogued(window.controls)) << window.space;
}

TEST(ControlSeries, NamesAndIndexesOfNumberedEntries) {
    EXPECT_EQ(main_ids::mRegs(0), "mRegs(0)");
    EXPECT_EQ(main_ids::mRecentFile(10), "mRecent(10)");
    const struct {
        const char* name;
        std::optional<std::size_t> index;
    } cases[] = {
        {"mRegs(12)", 12}, {"mRegs", {}},      {"mRegs()", {}}, {"mRegs(1)x", {}},
        {"mRegs(-1)", {}}, {"mRecent(1)", {}}, {"mReg(1)", {}}, {"mRegs(99999999999999999999)", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(main_ids::mRegs.indexOf(c.name), c.index) << c.name;
}

}  // namespace
}  // namespace lodestar::testing
