#pragma once
// What the host means by the codes a record holds, said once: the kinds of control and their
// names, the texts that stand for no text or no picture, key codes and their names, the function
// keys, the screens of a layout, screen links, screen labels and function-key buttons. The check,
// the preview, the screen list, the CSV code, the editors and quill all ask here, so no two of
// them can read a record differently. Every name goes both ways: from a code to the text a user
// reads, and from what a user types back to the code.
//
// Key codes are Windows virtual-key codes (112 = F1, 65 = 'A', 49 = '1') with modifier bits
// above the low byte. Real layouts show two: Alt = 0x800 + key (Alt+1 = 2097) and Ctrl+Alt =
// 0x8800 + key (Ctrl+Alt+J = 34890). Ctrl = 0x8000 + key and Shift = 0x400 + key are our reading
// of the same scheme, which no real layout has shown yet; their combinations follow from the bits
// (Ctrl+Shift+O = 0x8400 + 'O' = 33871).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "layout/ControlRecord.h"

// ---- kinds of control (rType)

// 1..11, the kinds the host draws.
bool IsKnownKind(int32_t kind);
// "DRO", "Scroll bar", "Bitmap", "Button", "Jog ball", "LED", "Label", "Bitmap button",
// "MDI line", "G-code window", "Toolpath display"; "Kind 42" outside 1..11.
std::string KindName(int32_t kind);
// The kind a name or a number 1..11 stands for, in any letter case, blanks around it ignored;
// nothing for anything else ("Kind 42" included: it names no kind the host draws).
std::optional<int32_t> KindFromName(std::string_view name);
// The statistics report's label of a kind 1..11 ("  DROs", two leading blanks); "" otherwise.
const char* KindStatisticsLabel(int32_t kind);

// ---- texts

// The text without the blanks, tabs and line breaks at either end.
std::string_view TrimmedBlanks(std::string_view text);

// A whole number written plainly: an optional minus sign and decimal digits, within 32 bits, and
// nothing else (no blanks, no plus sign). Key codes, numbered names and the command line's
// options read numbers so. What a user types into a field is read by ParseFieldValue instead,
// which also takes blanks around the number and a plus sign.
std::optional<int32_t> WholeNumber(std::string_view text);
// Real layouts fill unused texts with "None": empty text, blanks alone and "None" in any letter
// case all mean no text.
bool IsNoneText(std::string_view text);
// Whether an rBitMapPath names a picture at all (not empty, not "None").
bool NamesPicture(std::string_view bitmapPath);

// A Windows-1252 byte with its letter case taken away, as Windows compares names: A-Z, the
// accented capitals and Š, Œ, Ž, Ÿ become their small letters; every other byte stays.
char FoldedByte(char c);
// Picture paths are matched as Windows matches file names: letter case ignored, '\' and '/'
// alike, a run of separators as one. The key is equal for two paths exactly when they match.
std::string PicturePathKey(std::string_view bitmapPath);
bool SamePicturePath(std::string_view a, std::string_view b);
// How much of `path` the folder `folder` covers when the path lies under it (matched as above,
// the separators after the folder included); nothing when it does not: "NewPlasma\" covers the
// first 10 bytes of "Newplasma/a.png".
std::optional<std::size_t> PictureFolderPrefix(std::string_view path, std::string_view folder);

// ---- keys (rHotKey)

inline constexpr int32_t ShiftKeyBit = 0x400;
inline constexpr int32_t AltKeyBit = 0x800;
inline constexpr int32_t CtrlKeyBit = 0x8000;

// Codes that mean no key: 0, every negative code (-1; -4096, what reading makes of the filler
// bytes CD CD CD CD) and 65535.
bool IsNoKey(int32_t code);
// The key as a user reads it: "F10", "A", "Space", "Alt+1", "Ctrl+Alt+J", "Ctrl+Shift+O", with the
// modifiers always in the order Ctrl, Alt, Shift. Empty for no key. A code with no name (a key
// the host has no name for, or bits beside the three modifiers) is its number in brackets:
// "(2048)", "(127)".
std::string HotKeyText(int32_t code);
// The code of a key name as HotKeyText writes it, in any letter case and with the modifiers in
// any order ("alt+1", "Shift+Ctrl+O"), of a bracketed number ("(2048)") or a plain one of two or
// more characters ("2097", "-1"; a single digit is that digit's key: "1" is 49), and 0 for no key
// ("", "None"). Nothing for anything else. HotKeyCode(HotKeyText(c)) == c for
// every code that is not one of the no-key codes.
std::optional<int32_t> HotKeyCode(std::string_view name);

// Whether the control holds a shortcut the host acts on. Skinned layouts give F10 to every bitmap
// button, eight of them in every screen's tab bar; on a bitmap button that key is taken as no key,
// so it never counts as a clash nor as a key in use.
bool HoldsShortcut(const ControlRecord& r);

// Function key Fn is the code 111 + n (F1 = 112 ... F24 = 135).
inline constexpr int32_t FunctionKeyBase = 111;
inline constexpr int LastFunctionKey = 24;
int32_t FunctionKeyCode(int n);
// n for the plain codes of F1..F24, 0 for every other code.
int FunctionKeyNumber(int32_t code);

// ---- screens

inline constexpr int32_t PersistentScreen = 0; // on view with every other screen
inline constexpr int32_t LastLayoutScreen = 15;
// 0..15, the screens of a layout; the host keeps records on other numbers but never shows them.
bool IsLayoutScreen(int64_t screen);

// ---- what a record is to the host

// A screen link: a button or a bitmap button of function 32, which switches the host to the
// screen its rOEMCode names. Renumbering, deleting and appending screens keep every link right,
// whatever its kind.
bool IsScreenLink(const ControlRecord& r);
// A screen link whose target is one of the layout's screens 0..15; a link to any other target
// runs a host function by that OEM code and shows no screen.
bool LinksToLayoutScreen(const ControlRecord& r);
// The screen a control shows when pressed, or nothing.
std::optional<int32_t> LinkedScreen(const ControlRecord& r);
// A screen-change button: the captioned kind of screen link, a button (rType 4). Only these are
// listed in the screen list's "Shown by" columns and re-captioned by Update Buttons.
bool IsScreenChangeButton(const ControlRecord& r);
// A screen-change button with one of the keys F1..F15 that shows one of the screens 0..14.
// Update Buttons gives it the key of its screen, FunctionKeyCode(rOEMCode).
inline constexpr int LastButtonFunctionKey = 15;
bool IsFunctionKeyButton(const ControlRecord& r);
// A label control whose rLabel starts with the section mark.
bool IsScreenLabel(const ControlRecord& r);
// The name a screen label gives its screen: its rLabel after the mark; empty for any other
// record.
std::string_view ScreenLabelName(const ControlRecord& r);
// A screen label with a name: the mark alone names nothing, so a later label names the screen.
bool NamesScreen(const ControlRecord& r);
