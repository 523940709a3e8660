#pragma once
// The routines the windows share: switching groups of controls by their Tag, and turning the text
// of a screen list's row back into a screen number.

#include <QString>
#include <QVariant>

#include <string>

class QWidget;

// What SetByTag sets on each control whose Tag matches.
enum SetByTagKind : int {
    TagEnabled = 0,
    TagVisible = 1,
    TagName = 2,
    TagCaption = 3,
};

// Sets one property on every control of the window whose "Tag" property contains `marker` (exact,
// case-sensitive). Controls of other windows opened over this one are not touched. A kind outside
// 0..3 sets nothing. Captions are Qt text; a changed caption is fitted to its control again.
void SetByTag(QWidget& window, const QString& marker, int kind, const QVariant& value);

// The screen number in a row's item text: -1 for the empty text; otherwise the number the text
// begins with, read the way the host reads numbers (blanks ignored, a text that is no number gives
// 0), rounded half to even; -1 when that lies outside the 16-bit range.
int ScreenNoFromText(const std::string& text);

class QTreeView;
// A docked list whose one key column (a path, the found text, a control's name) takes the room
// the pane has: the other columns are as wide as what they hold, and the key one stretches.
void StretchKeyColumn(QTreeView& list, int keyColumn);
