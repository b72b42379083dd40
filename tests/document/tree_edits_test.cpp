// The tree edits of the editing commands, as plain functions over a tree.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/tree_edits.h"
#include "model/voice_book.h"
#include "support/tree_building.h"

namespace {

using test::Button;
using test::Category;
using test::Child;
using test::Names;

} // namespace

TEST(TreeEdits, MovesIntoTheirOwnSubtreeAreRefusedAndOthersMove) {
    oVoiceBook root;
    oVoiceBook* a = Category(root, L"A");
    oVoiceBook* sub = Category(*a, L"S");
    oVoiceBook* deep = Button(*sub, L"d");
    oVoiceBook* b = Category(root, L"B");
    for (oVoiceBook* target : {a, sub, deep})
        for (bool into : {false, true})
            EXPECT_FALSE(document::MoveNode(*a, *target, into)) << target->m_strName.str();
    EXPECT_EQ(Names(root), L"A;B;");
    EXPECT_EQ(Names(*sub), L"d;");

    // Placed first in a category of its own subtree, or after itself: refused too.
    EXPECT_FALSE(document::MoveNodeTo(*a, nullptr, document::Insertion::FirstOfShown, *sub, root));
    EXPECT_FALSE(document::MoveNodeTo(*a, a, document::Insertion::AfterTarget, *b, root));
    ASSERT_TRUE(document::MoveNodeTo(*b, nullptr, document::Insertion::FirstOfRoot, *sub, root));
    EXPECT_EQ(Names(root), L"B;A;");

    ASSERT_TRUE(document::MoveNode(*sub, *b, true));
    EXPECT_EQ(Names(*a), L"");
    EXPECT_EQ(sub->m_nDepth, 2);
    EXPECT_EQ(deep->m_nDepth, 3);
}

TEST(TreeEdits, PastesAreIndependentSubtreesPlacedAfterTheButtonOrAtTheEnd) {
    oVoiceBook root;
    oVoiceBook* a = Category(root, L"A");
    Button(*Category(*a, L"S"), L"s1");
    oVoiceBook* target = Category(root, L"T");
    oVoiceBook* first = Button(*target, L"t1");
    Button(*target, L"t2");
    std::unique_ptr<oVoiceBook> clip(a->CloneTree());

    oVoiceBook* p1 = document::PasteCopy(*clip, first, *target);
    oVoiceBook* p2 = document::PasteCopy(*clip, nullptr, *target);
    EXPECT_EQ(Names(*target), L"t1;A;t2;A;");
    ASSERT_NE(p1, p2);
    EXPECT_NE(Child(p1, L"S"), Child(p2, L"S"));
    EXPECT_EQ(Names(*Child(p2, L"S")), L"s1;");
    EXPECT_EQ(Child(Child(p2, L"S"), L"s1")->m_nDepth, 4);
    // A node of another category is no place: the copy goes to the end.
    document::PasteCopy(*clip, Child(Child(a, L"S"), L"s1"), *target);
    EXPECT_EQ(Names(*target), L"t1;A;t2;A;A;");
}
