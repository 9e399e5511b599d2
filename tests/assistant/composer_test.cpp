// Composing a pattern from library entries, and walking the steps with Undo and Redo.
#include "assistant/composer.h"

#include <gtest/gtest.h>

namespace lodestar {
namespace {

LibraryEntry entry(std::u16string fragment, std::u16string description = {}) {
    return {u"name", std::move(fragment), std::move(description)};
}

TEST(Composer, WorkedExampleComposesAGroupAndUndoesEachStep) {
    Composer c;
    c.pickMetaChar(entry(u"\\d", u"Any digit"));
    EXPECT_EQ(c.caret(), 2u);
    EXPECT_EQ(c.description(), u"Any digit");
    c.select(0, 2);
    c.pickRepeat(entry(u"+"));
    EXPECT_EQ(c.pattern(), u"\\d+");
    EXPECT_EQ(c.description(), u"");
    c.select(0, 3);
    c.pickLimit(entry(u"( )"));
    EXPECT_EQ(c.pattern(), u"(\\d+)");
    EXPECT_EQ(c.caret(), 5u);

    for (const char16_t* expected : {u"\\d+", u"\\d", u""}) {
        c.undo();
        EXPECT_EQ(c.pattern(), expected);
    }
    EXPECT_FALSE(c.canUndo());
    for (int i = 0; i < 4; ++i) c.redo();
    EXPECT_EQ(c.pattern(), u"(\\d+)");
    EXPECT_FALSE(c.canRedo());
    c.undo();  // a new step after Undo drops the steps Redo would bring back
    EXPECT_TRUE(c.canRedo());
    c.insertAtCaret(u"c");
    EXPECT_EQ(c.pattern(), u"\\d+c");
    EXPECT_FALSE(c.canRedo());
}

TEST(Composer, InsertGoesBeforeTheSelectionAndSymbolsAreEscaped) {
    Composer c;
    c.setPattern(u"abc");
    c.select(1, 1);
    c.insertAtCaret(u"X");
    EXPECT_EQ(c.pattern(), u"aXbc");
    EXPECT_EQ(c.caret(), 2u);
    EXPECT_EQ(c.selectionLength(), 0u);
    c.pickSymbol(u'.');
    EXPECT_EQ(c.pattern(), u"aX\\.bc");
}

// Without a selection the caret stands before the whole closing part, so typing lands inside
// the pair, never inside an escape such as "\b".
TEST(Composer, WrapWithoutSelectionStandsBeforeTheClosingPart) {
    const std::pair<const char16_t*, std::size_t> cases[] = {
        {u"( )", 1}, {u"(?= )", 3}, {u"\\b \\b", 2}, {u"^ ", 1}, {u"<>", 1}};
    for (const auto& [pair, caret] : cases) {
        Composer c;
        c.pickLimit(entry(pair));
        EXPECT_EQ(c.caret(), caret) << c.pattern().size();
    }
    Composer c;
    c.pickLimit(entry(u"[ ]"));
    c.insertAtCaret(u"a-z");
    EXPECT_EQ(c.pattern(), u"[a-z]");
}

TEST(Composer, WrapsASelectionAndPairWithoutSpaceGoesInFront) {
    Composer c;
    c.setPattern(u"xaby");
    c.select(1, 2);
    c.wrapSelection(u"(?: )");
    EXPECT_EQ(c.pattern(), u"x(?:ab)y");
    EXPECT_EQ(c.caret(), 7u);
    c.select(0, 1);
    c.wrapSelection(u"^");
    EXPECT_EQ(c.pattern(), u"^x(?:ab)y");
    EXPECT_EQ(c.caret(), 2u);
}

TEST(Composer, RepeatGroupsOnlySelectionsLongerThanOneCharacter) {
    Composer c;
    c.setPattern(u"xaby");
    c.select(1, 2);
    c.pickRepeat(entry(u"*?"));
    EXPECT_EQ(c.pattern(), u"x(ab)*?y");
    c.undo();
    EXPECT_EQ(c.pattern(), u"x(ab)y");  // grouping is a step of its own

    c.setPattern(u"\\w-");
    c.select(0, 2);
    c.pickRepeat(entry(u"?"));
    EXPECT_EQ(c.pattern(), u"\\w?-");
    c.select(4, 0);
    c.pickRepeat(entry(u"*"));
    EXPECT_EQ(c.pattern(), u"\\w?-*");
}

TEST(Composer, PresetsHeadingsInsertAndReplace) {
    Composer c;
    c.insertAtCaret(u"a");
    c.insertAtCaret(u"b");
    c.pickPreset({u"- Dates -", u"x", u"heading"}, true);
    EXPECT_EQ(c.pattern(), u"ab");
    EXPECT_EQ(c.description(), u"");

    c.pickPreset({u"Year", u"\\d{4}", u"Four digits"}, false);
    EXPECT_EQ(c.pattern(), u"\\d{4}");
    EXPECT_EQ(c.description(), u"Four digits");
    c.undo();  // the replacing preset is no step: Undo goes to the step before "ab"
    EXPECT_EQ(c.pattern(), u"a");

    c.select(0, 0);
    c.pickPreset({u"Year", u"\\d{4}", u""}, true);
    EXPECT_EQ(c.pattern(), u"\\d{4}a");
    c.undo();
    EXPECT_EQ(c.pattern(), u"a");
}

// Undo must not skip over text the history does not hold yet: what the user typed, or the
// pattern kept from the last opening.
TEST(Composer, UnrecordedChangeBecomesAStepBeforeTheNextOne) {
    Composer c;
    c.insertAtCaret(u"\\d");
    c.setPattern(u"\\dx");
    c.select(3, 0);
    c.insertAtCaret(u"+");
    c.undo();
    EXPECT_EQ(c.pattern(), u"\\dx");
    c.undo();
    EXPECT_EQ(c.pattern(), u"\\d");

    c.init();  // the next opening keeps the pattern
    EXPECT_FALSE(c.canUndo() || c.canRedo());
    c.insertAtCaret(u"$");
    c.undo();
    EXPECT_EQ(c.pattern(), u"\\d");
}

TEST(Composer, ClearEmptiesAndOkAppends) {
    Composer c;
    c.insertAtCaret(u"\\d+");
    EXPECT_EQ(c.appendTo(u"abc"), u"abc\\d+");
    c.clear();
    EXPECT_EQ(c.pattern(), u"");
    EXPECT_FALSE(c.canUndo());
}

TEST(Composer, SelectionStaysWithinTheText) {
    Composer c;
    c.setPattern(u"abc");
    c.select(1, 10);
    EXPECT_EQ(c.selectedText(), u"bc");
    c.setPattern(u"a");
    EXPECT_EQ(c.caret(), 1u);
    EXPECT_EQ(c.selectionLength(), 0u);
}

TEST(Composer, HistoryAndCaretWorkBeyond255) {
    Composer c;
    for (int i = 0; i < 300; ++i) c.insertAtCaret(u"a");
    c.select(280, 5);
    c.wrapSelection(u"( )");
    EXPECT_EQ(c.pattern().substr(279, 8), u"a(aaaaa)");
    EXPECT_EQ(c.caret(), 287u);
    for (int i = 0; i < 301; ++i) c.undo();
    EXPECT_EQ(c.pattern(), u"");
    EXPECT_FALSE(c.canUndo());
    for (int i = 0; i < 300; ++i) c.redo();
    EXPECT_EQ(c.pattern(), std::u16string(300, u'a'));
}

}  // namespace
}  // namespace lodestar
