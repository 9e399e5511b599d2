// find's line output as grep and ripgrep users read it: file, line and column of each match
// (checked against ripgrep on a generated folder), the matched text, context, JSON and colour.
#include <random>
#include <set>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

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
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
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
         "1\t" + at("f") + "\nSearch px, 1 items found in 1 files.\n"},
    };
    for (const auto& c : cases) {
        const Outcome result = run(c.args);
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, c.out);
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

}  // namespace
}  // namespace lodestar
