// PATH "-": find, replace and run as filters in a pipe, from standard input to standard output,
// with nothing backed up or written; and the exit statuses of grep.
#include <random>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

using namespace std::string_literals;

TEST_F(Cli, ReplaceOnStandardInputGivesWhatSedGivesOnAHundredFiles) {
    std::mt19937 random(11);
    const std::vector<std::string> pieces{"12px", "px", "3PX",         " ",  "\t",    "\r\n",
                                          "\n",   "a",  "caf\xC3\xA9", "99", "9px9px"};
    workingFolder = dir.path();
    for (int f = 0; f < 100; ++f) {
        std::string text;
        for (int i = random() % 300; i > 0; --i) text += pieces[random() % pieces.size()];
        SCOPED_TRACE(text);
        const Outcome ours = runWithInput({"-c", "replace", "(\\d+)px", "$1 px", "-"}, text);
        EXPECT_EQ(ours.status, ours.out == text ? 1 : 0);
        const std::string sed = "sed -E 's/([0-9]+)px/\\1 px/g' <" + quoted(ioFile("stdin")) +
                                " >" + quoted(ioFile("sed"));
        ASSERT_EQ(std::system(sed.c_str()), 0);
        EXPECT_EQ(ours.out, readBytes(ioFile("sed")));
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));  // nothing backed up or written
}

TEST_F(Cli, FiltersKeepTheEncodingAndSayWhatChangedByTheirStatus) {
    const std::string rep = ioPut("x.rep", "rep ---b--- with ---c---;\r\n");
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
    } cases[] = {
        {{"replace", "b", "c", "-"},
         "\xFF\xFE"
         "a\0b\0"s,
         0,
         "\xFF\xFE"
         "a\0c\0"s},
        {{"replace", "b", "\xC3\xA9", "-"}, "ab \xE9\n", 0, "a\xE9 \xE9\n"},  // Windows-1252
        {{"run", rep, "-"}, "abc\r\n", 0, "acc\r\n"},
        {{"replace", "z", "c", "-"}, "ab\n", 1, "ab\n"},
        {{"run", rep, "-"}, "xyz", 1, "xyz"},
        {{"find", "b", "-"}, "ab\nb\n", 0, "1:2:ab\n2:1:b\n"},
        {{"-l", "find", "b", "-"}, "ab\n", 0, "(standard input)\n"},
        {{"find", "z", "-"}, "ab\n", 1, ""},
        // A character the input's encoding cannot hold, and binary input: nothing written.
        {{"replace", "b", "\xE4\xB8\xAD", "-"}, "ab \xE9", 2, ""},
        {{"replace", "b", "c", "-"}, "a\0b"s, 2, ""},
        {{"--binary", "replace", "b", "c", "-"}, "a\0b"s, 0, "a\0c"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const Outcome result = runWithInput(c.args, c.input);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.out, c.out);
    }
}

}  // namespace
}  // namespace lodestar
