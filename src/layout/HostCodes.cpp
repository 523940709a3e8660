#include "layout/HostCodes.h"

#include <array>
#include <charconv>
#include <iterator>

namespace {

struct KindInfo {
    const char* Name;
    const char* StatisticsLabel;
};
// Indexed by rType.
constexpr KindInfo Kinds[] = {
    {"", ""},
    {"DRO", "  DROs"},
    {"Scroll bar", "  Scroll Bars"},
    {"Bitmap", "  Bitmaps"},
    {"Button", "  Buttons"},
    {"Jog ball", "  JogBalls"},
    {"LED", "  LEDs"},
    {"Label", "  Labels"},
    {"Bitmap button", "  Bitmap Buttons"},
    {"MDI line", "  MDI lines"},
    {"G-code window", "  GCode windows"},
    {"Toolpath display", "  Toolpath displays"},
};
static_assert(std::size(Kinds) == ControlKind::Last + 1);

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}


// Key names of the low byte, besides the letters, the digits and the function keys.
struct NamedKey {
    int32_t Code;
    const char* Name;
};
constexpr NamedKey NamedKeys[] = {
    {8, "Backspace"}, {9, "Tab"},    {13, "Enter"}, {27, "Esc"},   {32, "Space"}, {33, "PgUp"},
    {34, "PgDn"},     {35, "End"},   {36, "Home"},  {37, "Left"},  {38, "Up"},    {39, "Right"},
    {40, "Down"},     {45, "Ins"},   {46, "Del"},   {96, "Num0"},  {97, "Num1"},  {98, "Num2"},
    {99, "Num3"},     {100, "Num4"}, {101, "Num5"}, {102, "Num6"}, {103, "Num7"}, {104, "Num8"},
    {105, "Num9"},    {106, "Num*"}, {107, "Num+"}, {109, "Num-"}, {110, "Num."}, {111, "Num/"},
};

std::string KeyName(int32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (const int n = FunctionKeyNumber(key); n > 0) return "F" + std::to_string(n);
    for (const NamedKey& named : NamedKeys)
        if (named.Code == key) return named.Name;
    return {};
}

std::optional<int32_t> KeyFromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= '0' && c <= '9') return c;
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c >= 'A' && c <= 'Z') return c;
    }
    if (name.size() >= 2 && Lower(name[0]) == 'f') {
        const std::optional<int32_t> n = WholeNumber(name.substr(1));
        if (n && *n >= 1 && *n <= LastFunctionKey && name[1] != '0' && name[1] != '+')
            return FunctionKeyCode(*n);
    }
    for (const NamedKey& named : NamedKeys)
        if (SameLetters(name, named.Name)) return named.Code;
    return std::nullopt;
}

constexpr int32_t ModifierBits = CtrlKeyBit | AltKeyBit | ShiftKeyBit;

struct Modifier {
    int32_t Bit;
    const char* Name;
};
// In the order HotKeyText writes them.
constexpr Modifier Modifiers[] = {{CtrlKeyBit, "Ctrl"}, {AltKeyBit, "Alt"}, {ShiftKeyBit, "Shift"}};

} // namespace

std::optional<int32_t> WholeNumber(std::string_view text) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::string_view TrimmedBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- kinds

bool IsKnownKind(int32_t kind) {
    return kind >= ControlKind::First && kind <= ControlKind::Last;
}

std::string KindName(int32_t kind) {
    if (IsKnownKind(kind)) return Kinds[kind].Name;
    return "Kind " + std::to_string(kind);
}

std::optional<int32_t> KindFromName(std::string_view name) {
    name = TrimmedBlanks(name);
    if (const std::optional<int32_t> number = WholeNumber(name))
        return IsKnownKind(*number) ? number : std::nullopt;
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        if (SameLetters(name, Kinds[kind].Name)) return kind;
    return std::nullopt;
}

const char* KindStatisticsLabel(int32_t kind) {
    return IsKnownKind(kind) ? Kinds[kind].StatisticsLabel : "";
}

// ---- texts

bool IsNoneText(std::string_view text) {
    text = TrimmedBlanks(text);
    return text.empty() || SameLetters(text, "none");
}

bool NamesPicture(std::string_view bitmapPath) {
    return !IsNoneText(bitmapPath);
}

// ---- keys

bool IsNoKey(int32_t code) {
    return code <= 0 || code == 65535;
}

std::string HotKeyText(int32_t code) {
    if (IsNoKey(code)) return {};
    const std::string bracketed = "(" + std::to_string(code) + ")";
    if ((code & ~(ModifierBits | 0xFF)) != 0) return bracketed;
    const std::string key = KeyName(code & 0xFF);
    if (key.empty()) return bracketed;
    std::string text;
    for (const Modifier& modifier : Modifiers)
        if ((code & modifier.Bit) != 0) text += std::string(modifier.Name) + "+";
    return text + key;
}

std::optional<int32_t> HotKeyCode(std::string_view name) {
    name = TrimmedBlanks(name);
    if (IsNoneText(name)) return 0;
    if (name.size() > 2 && name.front() == '(' && name.back() == ')')
        return WholeNumber(name.substr(1, name.size() - 2));
    // A single digit is that digit's key; a code is written with more (no key has a code below 8).
    if (name.size() > 1)
        if (const std::optional<int32_t> number = WholeNumber(name)) return number;
    int32_t modifiers = 0;
    // Every part before the last '+' is a modifier; the key itself may be "Num+".
    for (;;) {
        const std::size_t plus = name.find('+');
        if (plus == std::string_view::npos || plus + 1 == name.size()) break;
        const std::string_view part = TrimmedBlanks(name.substr(0, plus));
        bool known = false;
        for (const Modifier& modifier : Modifiers) {
            if (!SameLetters(part, modifier.Name)) continue;
            if ((modifiers & modifier.Bit) != 0) return std::nullopt;
            modifiers |= modifier.Bit;
            known = true;
        }
        if (!known) break;
        name = TrimmedBlanks(name.substr(plus + 1));
    }
    const std::optional<int32_t> key = KeyFromName(name);
    if (!key) return std::nullopt;
    return modifiers | *key;
}

int32_t FunctionKeyCode(int n) {
    return FunctionKeyBase + n;
}

int FunctionKeyNumber(int32_t code) {
    const int64_t n = int64_t{code} - FunctionKeyBase;
    return n >= 1 && n <= LastFunctionKey ? static_cast<int>(n) : 0;
}

// ---- screens

bool IsLayoutScreen(int64_t screen) {
    return screen >= PersistentScreen && screen <= LastLayoutScreen;
}

// ---- what a record is to the host

bool IsScreenLink(const ControlRecord& r) {
    return r.rFunction == ScreenChangeFunction &&
           (r.rType == ControlKind::Button || r.rType == ControlKind::BitmapButton);
}

bool LinksToLayoutScreen(const ControlRecord& r) {
    return IsScreenLink(r) && IsLayoutScreen(r.rOEMCode);
}

std::optional<int32_t> LinkedScreen(const ControlRecord& r) {
    if (!LinksToLayoutScreen(r)) return std::nullopt;
    return r.rOEMCode;
}

bool IsScreenChangeButton(const ControlRecord& r) {
    return r.rType == ControlKind::Button && r.rFunction == ScreenChangeFunction;
}

bool IsFunctionKeyButton(const ControlRecord& r) {
    const int key = FunctionKeyNumber(r.rHotKey);
    return IsScreenChangeButton(r) && IsLayoutScreen(r.rOEMCode) && r.rOEMCode < LastLayoutScreen &&
           key >= 1 && key <= LastButtonFunctionKey;
}

bool IsScreenLabel(const ControlRecord& r) {
    return r.rType == ControlKind::Label && !r.rLabel.empty() && r.rLabel[0] == ScreenLabelMark;
}

std::string_view ScreenLabelName(const ControlRecord& r) {
    if (!IsScreenLabel(r)) return {};
    return std::string_view(r.rLabel).substr(1);
}

bool NamesScreen(const ControlRecord& r) {
    return IsScreenLabel(r) && r.rLabel.size() > 1;
}

// The record's own questions are these rules, asked of the record.
bool ControlRecord::IsScreenLink() const {
    return ::IsScreenLink(*this);
}
bool ControlRecord::LinksToLayoutScreen() const {
    return ::LinksToLayoutScreen(*this);
}
bool ControlRecord::IsScreenChangeButton() const {
    return ::IsScreenChangeButton(*this);
}
bool ControlRecord::IsFunctionKeyButton() const {
    return ::IsFunctionKeyButton(*this);
}
bool ControlRecord::IsScreenLabel() const {
    return ::IsScreenLabel(*this);
}

char FoldedByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    // Š Œ Ž (0x8A 0x8C 0x8E) and their small letters sixteen places on; Ÿ (0x9F) is ÿ's (0xFF).
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
    if (b == 0x9F) return static_cast<char>(0xFF);
    // À..Þ but × are the capitals of à..þ.
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    return c;
}

namespace {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string PicturePathKey(std::string_view bitmapPath) {
    std::string key;
    key.reserve(bitmapPath.size());
    for (std::size_t i = 0; i < bitmapPath.size(); ++i) {
        if (IsPathSeparator(bitmapPath[i])) {
            if (key.empty() || key.back() != '\\') key += '\\';
            continue;
        }
        key += FoldedByte(bitmapPath[i]);
    }
    return key;
}

bool SamePicturePath(std::string_view a, std::string_view b) {
    return PicturePathKey(a) == PicturePathKey(b);
}

std::optional<std::size_t> PictureFolderPrefix(std::string_view path, std::string_view folder) {
    std::size_t p = 0, f = 0;
    while (f < folder.size()) {
        if (IsPathSeparator(folder[f])) {
            if (p >= path.size() || !IsPathSeparator(path[p])) return std::nullopt;
            while (f < folder.size() && IsPathSeparator(folder[f]))
                ++f;
            while (p < path.size() && IsPathSeparator(path[p]))
                ++p;
            continue;
        }
        if (p >= path.size() || FoldedByte(path[p]) != FoldedByte(folder[f])) return std::nullopt;
        ++p;
        ++f;
    }
    return p;
}

bool HoldsShortcut(const ControlRecord& r) {
    return !IsNoKey(r.rHotKey) &&
           !(r.rType == ControlKind::BitmapButton && r.rHotKey == FunctionKeyCode(10));
}
