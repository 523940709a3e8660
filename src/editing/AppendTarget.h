#pragma once
// Where an appended screen goes when the user chooses: the screen the choice starts on, and the
// question asked before a screen other than the Persistent screen is appended onto it. The append
// itself is cLayout::AppendScreenFrom.

#include <string>

class cLayout;

// The screen of the Principal layout an append of the source screen is offered first: the lowest
// empty screen from 1 up; screen 0 when the source screen is screen 0 and screen 0 is empty, or
// when no other screen is empty; -1 when every screen holds controls.
int DefaultAppendTarget(const cLayout& principal, int sourceScreen);

// Whether appending the source screen onto the target asks first: the Persistent screen's
// controls show on every screen, so only its own counterpart goes there without a question.
bool AppendTargetAsks(int sourceScreen, int target);

// The question: Screen 0 is the Persistent screen: its controls show on every screen. Append screen
// 5 "Diagnostics" there? The label is the source screen's, in Windows-1252 bytes; a screen without
// one is named by its number alone.
std::string AppendToPersistentQuestion(int sourceScreen, const std::string& sourceLabel);
