#include "check/LayoutCheck.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <span>
#include <unordered_map>

#include "csv/CsvExportLosses.h"
#include "layout/HostCodes.h"
#include "layout/cLayout.h"

namespace {

constexpr std::size_t CaptionLimit = 40;

struct CodeInfo {
    const char* Name;
    Severity Level;
};
// Indexed by CheckCode.
constexpr CodeInfo Codes[] = {
    {"link-to-empty-screen", Severity::Error},
    {"key-clash", Severity::Warning},
    {"function-key-mismatch", Severity::Warning},
    {"duplicate-screen-label", Severity::Warning},
    {"off-screen", Severity::Warning},
    {"inverted-rectangle", Severity::Warning},
    {"missing-picture", Severity::Warning},
    {"pictures-not-checked", Severity::Note},
    {"unreachable-screen", Severity::Note},
    {"off-layout-screen", Severity::Note},
    {"unknown-kind", Severity::Note},
    {"layout-full", Severity::Warning},
    {"lost-script", Severity::Warning},
};
static_assert(std::size(Codes) == CheckCodeCount);

bool IsLayoutWide(CheckCode code) {
    return code == CheckCode::LayoutFull || code == CheckCode::PicturesNotChecked;
}

// Two links that show the same screen under one key do the same thing whichever the host takes.
bool SameAction(const ControlRecord& a, const ControlRecord& b) {
    return a.IsScreenLink() && b.IsScreenLink() && a.rOEMCode == b.rOEMCode;
}

// The control's caption on one line, shortened: its text, or a label's label text (a screen
// label's name), as the preview shows them. The host shows no text of a bitmap or a bitmap
// button, so theirs names nothing a user can see ("Text" on every button of a skin).
std::string Caption(const ControlRecord& r) {
    if (r.rType == ControlKind::Bitmap || r.rType == ControlKind::BitmapButton) return {};
    std::string_view text = r.rText;
    if (IsNoneText(text) && r.rType == ControlKind::Label)
        text = IsScreenLabel(r) ? ScreenLabelName(r) : std::string_view(r.rLabel);
    if (IsNoneText(text)) return {};
    std::string caption;
    for (char c : text) {
        const bool blank = c == '\r' || c == '\n' || c == '\t' || c == ' ';
        if (blank && (caption.empty() || caption.back() == ' ')) continue;
        caption.push_back(blank ? ' ' : c);
    }
    if (!caption.empty() && caption.back() == ' ') caption.pop_back();
    if (caption.size() > CaptionLimit) caption = caption.substr(0, CaptionLimit - 3) + "...";
    return caption;
}

std::string Point(int64_t x, int64_t y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// A control as the preview names it: its kind and caption ("Button \"Offsets\""), or, with no
// caption to tell it by, its kind and rectangle ("Bitmap button at 1700,0 to 1820,30").
std::string ControlName(const ControlRecord& r) {
    const std::string caption = Caption(r);
    if (!caption.empty()) return KindName(r.rType) + " \"" + caption + "\"";
    return KindName(r.rType) + " at " + Point(r.rX1, r.rY1) + " to " + Point(r.rX2, r.rY2);
}

// The key as the preview shows it ("F10", "Alt+4", "(2048)").
std::string KeyName(int32_t key) {
    return HotKeyText(key);
}

std::string Counted(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class Checker {
public:
    Checker(std::span<const ControlRecord> records, const CheckOptions& options)
        : Records(records), Options(options) {}

    std::vector<Finding> Run(const Resolution& resolution, bool detected) {
        LookAtScreens();
        for (std::size_t i = 0; i < Records.size(); ++i)
            CheckRecord(static_cast<int>(i));
        CheckResolution(resolution, detected);
        CheckKeys();
        CheckPictures();
        CheckScreens();
        if (Records.size() >= static_cast<std::size_t>(MaxControls))
            Add(CheckCode::LayoutFull, WholeLayout, 0,
                "The layout holds " + std::to_string(Records.size()) +
                    " records, as many as a layout can hold: nothing more can be appended");
        std::stable_sort(Found.begin(), Found.end(), [](const Finding& a, const Finding& b) {
            // An off-layout screen may be numbered -1 too; the layout-wide findings go first.
            if (IsLayoutWide(a.Code) != IsLayoutWide(b.Code)) return IsLayoutWide(a.Code);
            if (a.Screen != b.Screen) return a.Screen < b.Screen;
            if (a.Record != b.Record) return a.Record < b.Record;
            return a.Code < b.Code;
        });
        return std::move(Found);
    }

private:
    const ControlRecord& At(int index) const { return Records[static_cast<std::size_t>(index)]; }

    void Add(CheckCode code, int32_t screen, int record, std::string message, int related = 0) {
        Found.push_back({SeverityOf(code), code, screen, record, related, std::move(message)});
    }
    // A finding about the control at index.
    void AddFor(CheckCode code, int index, const std::string& rest, int related = 0) {
        Add(code, At(index).rScreen, index + 1, ControlName(At(index)) + rest, related);
    }

    // Counts and first labels of the screens, straight from the records so that an index not
    // rebuilt since the last change cannot mislead the check.
    void LookAtScreens() {
        for (std::size_t i = 0; i < Records.size(); ++i) {
            const ControlRecord& r = Records[i];
            if (!IsLayoutScreen(r.rScreen)) {
                ++OffLayout[r.rScreen];
                continue;
            }
            const auto s = static_cast<std::size_t>(r.rScreen);
            ++Controls[s];
            // As in the screen list, a label that is the mark alone names nothing.
            if (NamesScreen(r) && FirstLabel[s] < 0) FirstLabel[s] = static_cast<int>(i);
            // A link on the screen it shows can only be pressed once that screen is on view.
            if (r.LinksToLayoutScreen() && r.rOEMCode != r.rScreen)
                Shown[static_cast<std::size_t>(r.rOEMCode)] = true;
        }
    }

    // What one control gets wrong on its own. Records on screens beyond 15 are checked as any
    // control is (layouts switch to such screens from bitmap buttons) and counted too
    // (off-layout-screen); those on negative screens are only counted.
    void CheckRecord(int index) {
        const ControlRecord& r = At(index);
        if (r.rScreen < 0) return;
        if (IsLayoutScreen(r.rScreen)) CheckScreenLinks(r, index);
        CheckShape(r, index);
    }

    void CheckScreenLinks(const ControlRecord& r, int index) {
        if (r.LinksToLayoutScreen() && Controls[static_cast<std::size_t>(r.rOEMCode)] == 0)
            AddFor(CheckCode::LinkToEmptyScreen, index,
                   " shows screen " + std::to_string(r.rOEMCode) + ", which holds no control");
        if (IsFunctionKeyButton(r) && r.rHotKey != FunctionKeyCode(r.rOEMCode))
            AddFor(CheckCode::FunctionKeyMismatch, index,
                   " shows screen " + std::to_string(r.rOEMCode) + " with the key " +
                       KeyName(r.rHotKey) + "; Update Buttons would give it " +
                       KeyName(FunctionKeyCode(r.rOEMCode)));
        if (NamesScreen(r)) {
            const int first = FirstLabel[static_cast<std::size_t>(r.rScreen)];
            if (first != index)
                AddFor(CheckCode::DuplicateScreenLabel, index,
                       " names screen " + std::to_string(r.rScreen) + " \"" +
                           std::string(ScreenLabelName(r)) +
                           "\" a second time; the screen list uses the first name, \"" +
                           std::string(ScreenLabelName(At(first))) + "\" (record " +
                           std::to_string(first + 1) + ")",
                       first + 1);
        }
    }

    void CheckShape(const ControlRecord& r, int index) {
        if (r.rX2 < r.rX1 || r.rY2 < r.rY1)
            AddFor(CheckCode::InvertedRectangle, index,
                   " has an inverted rectangle, " + Point(r.rX1, r.rY1) + " to " +
                       Point(r.rX2, r.rY2) + ": its " +
                       (r.rX2 < r.rX1 ? "right edge lies left of its left edge"
                                      : "bottom edge lies above its top edge"));
        if (!IsKnownKind(r.rType))
            AddFor(CheckCode::UnknownKind, index,
                   " is of a kind the program does not know (kinds are 1 to 11)");
        if (r.rGText == ComplexCodeText)
            AddFor(CheckCode::LostScript, index,
                   std::string(" has lost its script to a CSV file: it holds \"") +
                       ComplexCodeText + "\", which the host would run");
    }

    void CheckResolution(const Resolution& resolution, bool detected) {
        const std::string screen = "the " + ResolutionCaption(resolution) + " screen" +
                                   (detected ? " the layout is drawn for" : "");
        for (std::size_t i = 0; i < Records.size(); ++i) {
            const ControlRecord& r = Records[i];
            if (r.rScreen < 0) continue;
            // An inverted rectangle is reported as such; its far corner still counts here.
            const int64_t left = std::min(r.rX1, r.rX2), top = std::min(r.rY1, r.rY2);
            const int64_t right = std::max(r.rX1, r.rX2), bottom = std::max(r.rY1, r.rY2);
            const int index = static_cast<int>(i);
            if (left < 0 || top < 0)
                AddFor(CheckCode::OffScreen, index,
                       " starts at " + Point(left, top) + ", outside " + screen);
            else if (!HoldsExtents(resolution, right, bottom))
                AddFor(CheckCode::OffScreen, index,
                       " reaches to " + Point(right, bottom) + ", beyond " + screen);
        }
    }

    // Grouped by key, so a layout costs a sort rather than a look at every pair. Each control that
    // clashes is reported once, on its own screen, with the control it clashes with: the first
    // holder of the key on screen 0 (on view with every screen), else the first on its own screen.
    void CheckKeys() {
        struct Holder {
            int32_t Key, Screen;
            int Index;
        };
        std::vector<Holder> holders;
        for (std::size_t i = 0; i < Records.size(); ++i) {
            const ControlRecord& r = Records[i];
            if (IsLayoutScreen(r.rScreen) && HoldsShortcut(r))
                holders.push_back({r.rHotKey, r.rScreen, static_cast<int>(i)});
        }
        std::sort(holders.begin(), holders.end(), [](const Holder& a, const Holder& b) {
            if (a.Key != b.Key) return a.Key < b.Key;
            if (a.Screen != b.Screen) return a.Screen < b.Screen;
            return a.Index < b.Index;
        });
        for (std::size_t run = 0; run < holders.size();) {
            std::size_t runEnd = run;
            while (runEnd < holders.size() && holders[runEnd].Key == holders[run].Key)
                ++runEnd;
            const int persistent = holders[run].Screen == 0 ? holders[run].Index : -1;
            for (std::size_t group = run; group < runEnd;) {
                std::size_t groupEnd = group;
                while (groupEnd < runEnd && holders[groupEnd].Screen == holders[group].Screen)
                    ++groupEnd;
                const int anchor = persistent >= 0 ? persistent : holders[group].Index;
                for (std::size_t k = group; k < groupEnd; ++k)
                    if (holders[k].Index != anchor) ReportClash(holders[k].Index, anchor);
                group = groupEnd;
            }
            run = runEnd;
        }
    }

    void ReportClash(int index, int anchor) {
        const ControlRecord& r = At(index);
        const ControlRecord& other = At(anchor);
        if (SameAction(r, other)) return;
        std::string where = "record " + std::to_string(anchor + 1);
        if (other.rScreen != r.rScreen) where += " on screen 0, on view with every screen";
        AddFor(CheckCode::KeyClash, index,
               " shares the shortcut " + KeyName(r.rHotKey) + " with " + ControlName(other) + " (" +
                   where + ")",
               anchor + 1);
    }

    // One finding per picture path, on the first control that names it: a missing file is
    // mended once, however many screens show it.
    void CheckPictures() {
        struct Use {
            int First = 0;
            int Count = 0;
        };
        std::unordered_map<std::string, Use> uses;
        std::vector<const std::string*> paths; // in order of first use
        int naming = 0;
        for (std::size_t i = 0; i < Records.size(); ++i) {
            const ControlRecord& r = Records[i];
            if (r.rScreen < 0 || !NamesPicture(r.rBitMapPath)) continue;
            ++naming;
            const auto [use, added] = uses.try_emplace(r.rBitMapPath, Use{static_cast<int>(i)});
            if (added) paths.push_back(&use->first);
            ++use->second.Count;
        }
        if (naming == 0) return;
        if (!Options.PictureFound) {
            Add(CheckCode::PicturesNotChecked, WholeLayout, 0,
                "Pictures were not checked, as no pictures folder is set; " +
                    Counted(naming, "control names", "controls name") + " a picture");
            return;
        }
        for (const std::string* path : paths) {
            if (Options.PictureFound(*path)) continue;
            const Use& use = uses.at(*path);
            std::string rest = " shows the picture \"" + *path + "\", which is not found";
            if (use.Count > 1)
                rest += " (" +
                        Counted(use.Count - 1, "other control shows", "other controls show") +
                        " it too)";
            AddFor(CheckCode::MissingPicture, use.First, rest);
        }
    }

    void CheckScreens() {
        // Screen 0 is on view with every screen and screen 1 is the first the host shows.
        for (int s = 2; s < ScreenCount; ++s) {
            const auto slot = static_cast<std::size_t>(s);
            if (Controls[slot] == 0 || Shown[slot]) continue;
            std::string name = "Screen " + std::to_string(s);
            if (FirstLabel[slot] >= 0)
                name += " \"" + std::string(ScreenLabelName(At(FirstLabel[slot]))) + "\"";
            Add(CheckCode::UnreachableScreen, s, 0,
                name + " holds " + Counted(Controls[slot], "control", "controls") +
                    ", but no screen link on another screen shows it");
        }
        for (const auto& [screen, count] : OffLayout)
            Add(CheckCode::OffLayoutScreen, screen, 0,
                Counted(count, "record lies", "records lie") + " on screen " +
                    std::to_string(screen) +
                    ", outside the screens 0 to 15: the host keeps such records and every "
                    "command carries them");
    }

    std::span<const ControlRecord> Records;
    const CheckOptions& Options;
    std::array<int, ScreenCount> Controls{};
    std::array<int, ScreenCount> FirstLabel = [] {
        std::array<int, ScreenCount> none{};
        none.fill(-1);
        return none;
    }();
    std::array<bool, ScreenCount> Shown{};
    std::map<int32_t, int> OffLayout;
    std::vector<Finding> Found;
};

} // namespace

std::vector<Finding> CheckLayout(const cLayout& layout, const CheckOptions& options) {
    const DetectedResolution found =
        DetectResolution(layout.Records(), -1, options.ScreenResolution);
    return Checker(layout.Records(), options).Run(found.Size, found.From != ResolutionRule::Chosen);
}

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        break;
    }
    return "note";
}

const char* CodeName(CheckCode code) {
    return Codes[static_cast<std::size_t>(code)].Name;
}

Severity SeverityOf(CheckCode code) {
    return Codes[static_cast<std::size_t>(code)].Level;
}

SeverityCounts CountBySeverity(const std::vector<Finding>& findings) {
    SeverityCounts counts;
    for (const Finding& f : findings) {
        switch (f.Level) {
        case Severity::Error:
            ++counts.Errors;
            break;
        case Severity::Warning:
            ++counts.Warnings;
            break;
        case Severity::Note:
            ++counts.Notes;
            break;
        }
    }
    return counts;
}

std::string FindingLine(const Finding& finding) {
    return std::string(SeverityName(finding.Level)) + " screen " + std::to_string(finding.Screen) +
           " record " + std::to_string(finding.Record) + " " + CodeName(finding.Code) + ": " +
           finding.Message;
}
