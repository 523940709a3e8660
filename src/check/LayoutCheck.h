#pragma once
// The layout check: what would go wrong when the host runs a layout, found before it does. From a
// layout (read only), the resolution to check against and, when given, a way to find pictures, it
// returns the findings sorted by screen and record position. It shows nothing and asks nothing:
// the check window turns the findings into a table, the command-line tool into lines.
//
// Guarantees: every finding carries one of the codes below, which never change meaning; messages
// are plain sentences in Windows-1252 bytes, as the records hold their texts; the check reads each
// record a fixed number of times and calls the picture look-up once per distinct path.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/ScreenResolution.h"

class cLayout;

enum class Severity { Error, Warning, Note };

// The kinds of finding, in the order of the check's table. Their names (CodeName) are stable.
enum class CheckCode {
    LinkToEmptyScreen,    // "link-to-empty-screen": a screen link shows a screen with no control
    KeyClash,             // "key-clash": two controls on view together share a shortcut
    FunctionKeyMismatch,  // "function-key-mismatch": a button showing screen n has not key Fn
    DuplicateScreenLabel, // "duplicate-screen-label": a second label names a screen
    OffScreen,            // "off-screen": a control reaches beyond the resolution
    InvertedRectangle,    // "inverted-rectangle": right edge left of left, or bottom above top
    MissingPicture,       // "missing-picture": the look-up does not find a control's picture
    PicturesNotChecked,   // "pictures-not-checked": controls name pictures, but no look-up given
    UnreachableScreen,    // "unreachable-screen": no screen link on another screen shows it
    OffLayoutScreen,      // "off-layout-screen": records on a screen number outside 0..15
    UnknownKind,          // "unknown-kind": rType outside 1..11
    LayoutFull,           // "layout-full": MaxControls records, nothing more can be appended
    LostScript,           // "lost-script": rGText is the CSV export's "<-complex code->"
};
inline constexpr int CheckCodeCount = 13;

// Screen of the findings that concern the whole layout (layout-full, pictures-not-checked); they
// come before all others.
inline constexpr int32_t WholeLayout = -1;

struct Finding {
    Severity Level = Severity::Note;
    CheckCode Code = CheckCode::LayoutFull;
    // The screen the finding concerns: 0..15, the off-layout screen number for off-layout-screen,
    // WholeLayout for the layout-wide findings. For a record it is the record's screen.
    int32_t Screen = WholeLayout;
    int Record = 0;  // 1-based position of the control concerned; 0 when no one record
    int Related = 0; // the other control of a pair (key clash, duplicate label); 0 otherwise
    std::string Message;

    bool operator==(const Finding&) const = default;
};

// True when the picture a control names (its rBitMapPath, as the record holds it) is found.
using PictureFoundTest = std::function<bool(const std::string& bitmapPath)>;

struct CheckOptions {
    // The resolution the controls must fit; when not given, the one the layout's controls were
    // drawn for, detected over its screens 0..15.
    std::optional<Resolution> ScreenResolution;
    // When empty, pictures are not checked and one note says so.
    PictureFoundTest PictureFound;
};

std::vector<Finding> CheckLayout(const cLayout& layout, const CheckOptions& options = {});

// "error", "warning", "note".
const char* SeverityName(Severity severity);
// The stable code, e.g. "link-to-empty-screen".
const char* CodeName(CheckCode code);
// Severity of each code, fixed by the check's table.
Severity SeverityOf(CheckCode code);

struct SeverityCounts {
    int Errors = 0;
    int Warnings = 0;
    int Notes = 0;
    // An error or a warning: the command-line check then ends with status 1.
    bool AnyProblem() const { return Errors + Warnings > 0; }
    bool operator==(const SeverityCounts&) const = default;
};
SeverityCounts CountBySeverity(const std::vector<Finding>& findings);

// "warning screen 3 record 12 key-clash: message", in the record's bytes.
std::string FindingLine(const Finding& finding);
