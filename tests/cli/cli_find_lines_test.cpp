// lodestar-cli as grep, ripgrep and sed users use it: find's lines, and filters in a pipe.
#include <random>
#include <set>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

using namespace std::string_literals;

// "FILE:LINE:COLUMN" of each line of vimgrep-style output.
std::multiset<std::string> places(const std::string& output) {
    std::multiset<std::string> found;
    std::size_t from = 0;
    for (std::size_t end; (end = output.find('\n', from)) != std::string::npos; from = end + 1) {
        const std::string line = output.substr(from, end - from);
        std::size_t colon = line.find(':');
        for (int i = 0; i < 2 && colon != std::string::npos; ++i) colon = line.find(':', colon + 1);
        found.insert(line.substr(0, colon));
    }
    return found;
}

TEST_F(Cli, FindPrintsTheSameFilesLinesAndColumnsAsRipgrep) {
    if (std::system("rg --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "rg is not installed";
    std::mt19937 random(7);
    const std::vector<std::string> words{"colour",       "12px", "a",       "caf\xC3\xA9",
                                         "7PX",          "\t",   "x3px9px", "colourcolour",
                                         "\xE4\xB8\xAD", " "};
    for (int f = 0; f < 40; ++f) {
        std::string text;
        for (int w = 0; w < 200; ++w) {
            text += words[random() % words.size()];
            if (random() % 6 == 0) text += random() % 2 ? "\n" : "\r\n";
        }
        dir.put("f" + std::to_string(f) + ".txt", text);
    }
    workingFolder = dir.path();
    for (const std::string pattern : {"colour", "[0-9]+px", "[a-z]+"}) {
        SCOPED_TRACE(pattern);
        const Outcome ours = run({"-c", "find", pattern, "."});
        ASSERT_EQ(ours.status, 0) << ours.err;
        const std::string rg = "cd " + quoted(folder()) + " && rg --vimgrep --no-ignore -j1 " +
                               quoted(pattern) + " . >" + quoted(ioFile("rg"));
        ASSERT_EQ(std::system(rg.c_str()), 0);
        EXPECT_EQ(places(ours.out), places(readBytes(ioFile("rg"))));
    }
}

TEST_F(Cli, FindLineShapesContextAndStatus) {
    dir.put("f", "one\ntwo px\r\nthree\nfour\nfive\nsix px\nseven");
    workingFolder = dir.path();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"find", "px", "f"}, "f:2:5:two px\nf:6:5:six px\n"},
        {{"-C1", "find", "px", "f"},
         "f-1-one\nf:2:5:two px\nf-3-three\n--\nf-5-five\n"
         "f:6:5:six px\nf-7-seven\n"},
        {{"-A", "1", "find", "px", "f"}, "f:2:5:two px\nf-3-three\n--\nf:6:5:six px\nf-7-seven\n"},
        {{"-B3", "find", "px", "f"},
         "f-1-one\nf:2:5:two px\nf-3-three\nf-4-four\nf-5-five\n"
         "f:6:5:six px\n"},
        // A match over two lines prints both; -o prints the part on each.
        {{"find", "px.*?three", "f"}, "f:2:5:two px\nf:3:1:three\n"},
        {{"-o", "find", "px.*?three", "f"}, "f:2:5:px\nf:3:1:three\n"},
        {{"-o", "find", "x|^$", "f"}, "f:2:6:x\nf:6:3:x\nf:6:6:x\n"},
        {{"-N", "--no-filename", "find", "o", "f"}, "one\ntwo px\nfour\n"},
        {{"-l", "find", "seven", "f"}, "f\n"},
        {{"--color=always", "-N", "find", "six", "f"},
         "\x1b[35mf\x1b[0m:\x1b[1;31msix\x1b[0m px\n"},
        {{"--count", "--first", "find", "px", "f"},
         "1\t" + at("f") + "\nSearch px, 1 items found in 1 files.\n"}};
    for (const auto& [args, out] : cases) {
        const Outcome result = run(args);
        SCOPED_TRACE(args[0] + " " + args[1]);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, out);
    }
    const Outcome none = run({"--stats", "find", "zebra", "f"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "Search zebra, 0 items found in 1 files.\n");
}

TEST_F(Cli, FindJsonLinesParse) {
    if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    dir.put("a.txt", "say \"12px\"\tto\x01 caf\xE9\nnext 3px\n");  // Windows-1252
    const Outcome result = run({"--json", "find", "(\\d+)(p)?x|(zz)", folder()});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string script =
        "import sys, json\n"
        "for line in open(sys.argv[1], encoding='utf-8'):\n"
        "    m = json.loads(line)\n"
        "    print(m['line'], m['column'], m['offset'], m['match'], m['submatches'],\n"
        "          m['text'].encode('unicode_escape').decode(), m['file'].endswith('/a.txt'))\n";
    const std::string parse = "python3 -c " + quoted(script) + " " +
                              quoted(ioPut("lines", result.out)) + " >" + quoted(ioFile("parsed"));
    ASSERT_EQ(std::system(parse.c_str()), 0) << result.out;
    EXPECT_EQ(readBytes(ioFile("parsed")),
              "1 6 5 12px ['12', 'p', None] say \"12px\"\\tto\\x01 caf\\xe9 True\n"
              "2 6 26 3px ['3', 'p', None] next 3px True\n");
}

// PATH "-": find, replace and run as filters in a pipe, from standard input to standard output,
// with nothing backed up or written; and the exit statuses of grep.
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
