// A file's name as the questions and messages show it.
#include <gtest/gtest.h>

#include "core/text.h"
#include "files/paths.h"

namespace lodestar {
namespace {

TEST(FileNameOf, TheWholeLastPartWithOrWithoutDots) {
    const struct {
        const char16_t* path;
        const char16_t* name;
    } cases[] = {
        {u"/home/ann/Makefile", u"Makefile"},
        {u"/home/ann/.bashrc", u".bashrc"},
        {u"/home/ann/draft.", u"draft."},
        {u"/home/my.folder/README", u"README"},
        {u"/home/ann/", u""},
        {u"", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameOf(c.path), c.name) << toUtf8(c.path);
}

}  // namespace
}  // namespace lodestar
