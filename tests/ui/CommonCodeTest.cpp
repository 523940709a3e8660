// The shared window routines: switching controls by their Tag, and screen numbers from row texts.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "ui/widgets/CommonCode.h"

namespace {

struct ScreenNoCase {
    const char* text;
    int expected;
};

TEST(ScreenNoFromText, ReadsTheLeadingNumberTheWayTheHostDoes) {
    const ScreenNoCase cases[] = {
        {"", -1},           {"7", 7},      {"0", 0},       {"15", 15},       {"abc", 0},
        {"12abc", 12},      {" 4", 4},     {"1 2", 12},    {"-3", -3},       {"+9", 9},
        {"2.5", 2},         {"3.5", 4},    {"7.51", 8},    {"1e2", 100},     {"32767", 32767},
        {"-32768", -32768}, {"32768", -1}, {"-32769", -1}, {"99999999", -1}, {"1e999", -1},
        {"32767.5", -1},    {"-", 0},      {".", 0},       {"5-3", 5},
    };
    for (const ScreenNoCase& c : cases)
        EXPECT_EQ(ScreenNoFromText(c.text), c.expected) << "text \"" << c.text << "\"";
}

class SetByTagTest : public ::testing::Test {
protected:
    SetByTagTest() {
        group = Tagged(new QGroupBox("Group", &window), "A1");
        inGroup = Tagged(new QPushButton("In group", group), "A1");
        both = Tagged(new QPushButton("Both", &window), "A1 A3");
        lower = Tagged(new QPushButton("Lower", &window), "a1");
        untagged = new QPushButton("Untagged", &window);
        label = Tagged(new QLabel("Label", &window), "xA1x");
        over = new QDialog(&window);
        overButton = Tagged(new QPushButton("Over", over), "A1");
    }
    template <typename W> static W* Tagged(W* w, const char* tag) {
        w->setProperty("Tag", QString::fromLatin1(tag));
        return w;
    }

    QWidget window;
    QGroupBox* group;
    QPushButton* inGroup;
    QPushButton* both;
    QPushButton* lower;
    QPushButton* untagged;
    QLabel* label;
    QDialog* over;
    QPushButton* overButton;
};

TEST_F(SetByTagTest, EnablesExactlyTheControlsWhoseTagContainsTheMarker) {
    SetByTag(window, "A1", TagEnabled, false);
    EXPECT_FALSE(group->isEnabled());
    EXPECT_FALSE(inGroup->isEnabled());
    EXPECT_FALSE(both->isEnabled());
    EXPECT_FALSE(label->isEnabled()) << "a substring anywhere in the Tag matches";
    EXPECT_TRUE(lower->isEnabled()) << "matching is case-sensitive";
    EXPECT_TRUE(untagged->isEnabled());
    EXPECT_TRUE(overButton->isEnabled()) << "a window of its own keeps its controls";

    SetByTag(window, "A3", TagEnabled, true);
    EXPECT_TRUE(both->isEnabled());
    EXPECT_FALSE(group->isEnabled());
    SetByTag(window, "A1", TagEnabled, true);
    EXPECT_TRUE(inGroup->isEnabled());
}

TEST_F(SetByTagTest, SetsVisibilityNameAndCaptionAndNothingForOtherKinds) {
    window.show();
    SetByTag(window, "A3", TagVisible, false);
    EXPECT_FALSE(both->isVisible());
    EXPECT_TRUE(inGroup->isVisible());

    SetByTag(window, "xA1x", TagName, QString("renamed"));
    EXPECT_EQ(label->objectName(), "renamed");
    EXPECT_EQ(group->objectName(), "");

    SetByTag(window, "A1", TagCaption, QString("New caption"));
    EXPECT_EQ(group->title(), "New caption");
    EXPECT_EQ(inGroup->text(), "New caption");
    EXPECT_EQ(label->text(), "New caption");
    EXPECT_EQ(lower->text(), "Lower");
    EXPECT_EQ(overButton->text(), "Over");

    for (int kind : {-1, 4, 99})
        SetByTag(window, "A1", kind, false);
    EXPECT_TRUE(group->isEnabled());
    EXPECT_TRUE(inGroup->isVisible());
    EXPECT_EQ(inGroup->text(), "New caption");
}

} // namespace
