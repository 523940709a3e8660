#include "editing/NewScreens.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "layout/HostCodes.h"
#include "layout/cLayout.h"
#include "tools/ScreenResolution.h"

namespace {

// The digits in the order a user counts keys on a row: Alt+1 ... Alt+9, then Alt+0.
constexpr std::array<char, 10> KeyDigits{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};

int32_t AltDigit(char digit) {
    return AltKeyBit + digit;
}

std::string FoldedName(std::string_view name) {
    std::string folded(TrimmedBlanks(name));
    for (char& c : folded)
        c = FoldedByte(c);
    return folded;
}

// The name each screen's label gives it, as the screen index reads it: the first label naming it.
std::array<std::string, ScreenCount> LabelsOf(std::span<const ControlRecord> records) {
    std::array<std::string, ScreenCount> labels;
    std::array<bool, ScreenCount> named{};
    for (const ControlRecord& r : records) {
        if (!IsLayoutScreen(r.rScreen) || !NamesScreen(r)) continue;
        const auto s = static_cast<std::size_t>(r.rScreen);
        if (named[s]) continue;
        named[s] = true;
        labels[s] = std::string(ScreenLabelName(r));
    }
    return labels;
}

std::array<int, ScreenCount> CountsOf(std::span<const ControlRecord> records) {
    std::array<int, ScreenCount> counts{};
    for (const ControlRecord& r : records)
        if (IsLayoutScreen(r.rScreen)) ++counts[static_cast<std::size_t>(r.rScreen)];
    return counts;
}

// Why the label cannot name a new screen, or "".
std::string LabelRefusal(std::span<const ControlRecord> records, const std::string& label) {
    if (TrimmedBlanks(label).empty()) return "A new screen needs a label to name it.";
    const std::array<std::string, ScreenCount> labels = LabelsOf(records);
    for (int s = 0; s < ScreenCount; ++s)
        if (FoldedName(labels[static_cast<std::size_t>(s)]) == FoldedName(label))
            return "Screen " + std::to_string(s) + " is named \"" +
                   labels[static_cast<std::size_t>(s)] + "\" already.";
    return {};
}

// The empty screen to take, or a refusal.
int32_t TargetScreen(std::span<const ControlRecord> records, std::optional<int32_t> chosen,
                     std::string& refusal) {
    if (!chosen) {
        const int32_t lowest = LowestEmptyScreen(records);
        if (lowest < 0) refusal = "The layout has no empty screen among screens 1 to 15.";
        return lowest;
    }
    if (*chosen < 1 || *chosen > LastLayoutScreen) {
        refusal = "Screen " + std::to_string(*chosen) + " is not one of the screens 1 to 15.";
        return -1;
    }
    if (CountsOf(records)[static_cast<std::size_t>(*chosen)] > 0) {
        refusal = "Screen " + std::to_string(*chosen) +
                  " holds controls: a new screen goes to an "
                  "empty one.";
        return -1;
    }
    return *chosen;
}

// The 0-based index of the last record on the screen; the last record of all when it has none.
int LastOfScreen(std::span<const ControlRecord> records, int32_t screen) {
    for (std::size_t i = records.size(); i-- > 0;)
        if (records[i].rScreen == screen) return static_cast<int>(i);
    return static_cast<int>(records.size()) - 1;
}

// Records to insert after 0-based indexes of old records, as the positions after the edit; the
// tags follow their records.
struct Anchored {
    int After;
    ControlRecord Record;
    int Tag;
};
std::vector<std::pair<int, ControlRecord>> Insertions(std::vector<Anchored> anchored,
                                                      std::map<int, int>& positionOfTag) {
    std::stable_sort(anchored.begin(), anchored.end(),
                     [](const Anchored& a, const Anchored& b) { return a.After < b.After; });
    std::vector<std::pair<int, ControlRecord>> inserted;
    for (std::size_t k = 0; k < anchored.size(); ++k) {
        const int position = anchored[k].After + 1 + static_cast<int>(k) + 1;
        positionOfTag[anchored[k].Tag] = position;
        inserted.emplace_back(position, std::move(anchored[k].Record));
    }
    return inserted;
}

// Rectangles along a row's axis: A runs along the row, B across it; a column is a row transposed.
struct Span2 {
    int64_t A1, B1, A2, B2;
};
Span2 Along(const ControlRecord& r, bool column) {
    return column ? Span2{r.rY1, r.rX1, r.rY2, r.rX2} : Span2{r.rX1, r.rY1, r.rX2, r.rY2};
}
void PlaceAlong(ControlRecord& r, const Span2& s, bool column) {
    const auto v = [](int64_t x) { return static_cast<int32_t>(x); };
    if (column) {
        r.rY1 = v(s.A1), r.rX1 = v(s.B1), r.rY2 = v(s.A2), r.rX2 = v(s.B2);
    } else {
        r.rX1 = v(s.A1), r.rY1 = v(s.B1), r.rX2 = v(s.A2), r.rY2 = v(s.B2);
    }
}
bool Overlap(const ControlRecord& a, const ControlRecord& b) {
    return std::min(a.rX1, a.rX2) < std::max(b.rX1, b.rX2) &&
           std::min(b.rX1, b.rX2) < std::max(a.rX1, a.rX2) &&
           std::min(a.rY1, a.rY2) < std::max(b.rY1, b.rY2) &&
           std::min(b.rY1, b.rY2) < std::max(a.rY1, a.rY2);
}

struct Row {
    std::vector<int> Positions; // 1-based, ordered along the row
    bool Column = false;
};

Row FindRow(std::span<const ControlRecord> records, int32_t screen) {
    // Keyed by kind, the shared edge and the shared size.
    std::map<std::array<int64_t, 4>, std::vector<int>> rows, columns;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ControlRecord& r = records[i];
        if (r.rScreen != screen || !LinksToLayoutScreen(r)) continue;
        const int position = static_cast<int>(i) + 1;
        rows[{r.rType, r.rY1, int64_t{r.rY2} - r.rY1, 0}].push_back(position);
        columns[{r.rType, r.rX1, int64_t{r.rX2} - r.rX1, 1}].push_back(position);
    }
    Row best;
    const auto consider = [&](const std::vector<int>& group, bool column) {
        if (group.size() < 2 || group.size() <= best.Positions.size()) return;
        best.Positions = group;
        best.Column = column;
    };
    for (const auto& [key, group] : rows)
        consider(group, false);
    for (const auto& [key, group] : columns)
        consider(group, true);
    std::stable_sort(best.Positions.begin(), best.Positions.end(), [&](int a, int b) {
        return Along(records[static_cast<std::size_t>(a - 1)], best.Column).A1 <
               Along(records[static_cast<std::size_t>(b - 1)], best.Column).A1;
    });
    return best;
}

// The keys in use where a control on this screen is on view: its own screen and screen 0, or
// every screen for screen 0.
std::set<int32_t> KeysInView(std::span<const ControlRecord> records, int32_t screen) {
    std::set<int32_t> keys;
    for (const ControlRecord& r : records)
        if (IsLayoutScreen(r.rScreen) && HoldsShortcut(r) &&
            (screen == PersistentScreen || r.rScreen == screen || r.rScreen == PersistentScreen))
            keys.insert(r.rHotKey);
    return keys;
}

std::string Point(int64_t x, int64_t y) {
    return std::to_string(x) + "," + std::to_string(y);
}

// Whether the new link can lie here: on the screen, over no control but pictures (backgrounds)
// of its screen and of the persistent screen, and over no link added before it.
bool RoomFor(std::span<const ControlRecord> records, const ControlRecord& link,
             const Resolution& screenSize, const std::vector<ControlRecord>& added) {
    if (std::min(link.rX1, link.rX2) < 0 || std::min(link.rY1, link.rY2) < 0) return false;
    if (!HoldsExtents(screenSize, std::max(link.rX1, link.rX2), std::max(link.rY1, link.rY2)))
        return false;
    for (const ControlRecord& r : records)
        if ((r.rScreen == link.rScreen || r.rScreen == PersistentScreen) &&
            r.rType != ControlKind::Bitmap && Overlap(r, link))
            return false;
    for (const ControlRecord& r : added)
        if ((r.rScreen == link.rScreen || r.rScreen == PersistentScreen ||
             link.rScreen == PersistentScreen) &&
            Overlap(r, link))
            return false;
    return true;
}

} // namespace

int32_t LowestEmptyScreen(std::span<const ControlRecord> records) {
    const std::array<int, ScreenCount> counts = CountsOf(records);
    for (int32_t s = 1; s <= LastLayoutScreen; ++s)
        if (counts[static_cast<std::size_t>(s)] == 0) return s;
    return -1;
}

std::vector<int> ScreenLinkRow(std::span<const ControlRecord> records, int32_t screen) {
    return FindRow(records, screen).Positions;
}

std::vector<int32_t> ScreensWithLinkRows(std::span<const ControlRecord> records) {
    std::vector<int32_t> screens;
    for (int32_t s = 0; s <= LastLayoutScreen; ++s)
        if (!FindRow(records, s).Positions.empty()) screens.push_back(s);
    return screens;
}

NewScreenPlan NewScreenEdit(std::span<const ControlRecord> records,
                            const NewScreenRequest& request) {
    NewScreenPlan plan;
    if (std::string refusal = LabelRefusal(records, request.Label); !refusal.empty()) {
        plan.Refusal = std::move(refusal);
        return plan;
    }
    const int32_t target = TargetScreen(records, request.Screen, plan.Refusal);
    if (target < 0) return plan;

    std::vector<int32_t> screens =
        request.LinksOn ? *request.LinksOn : ScreensWithLinkRows(records);
    std::sort(screens.begin(), screens.end());
    screens.erase(std::unique(screens.begin(), screens.end()), screens.end());
    for (int32_t s : screens) {
        if (!IsLayoutScreen(s) || s == target) {
            plan.Refusal =
                "Screen " + std::to_string(s) + " cannot take a link to the new screen " +
                std::to_string(target) + ": " +
                (s == target ? "it is the new screen itself." : "the screens are 0 to 15.");
            return plan;
        }
    }
    if (records.size() + 1 + screens.size() > static_cast<std::size_t>(MaxControls)) {
        plan.Refusal = "The layout holds " + std::to_string(records.size()) +
                       " controls: a new screen with its links would pass the most a layout "
                       "holds, " +
                       std::to_string(MaxControls) + ".";
        return plan;
    }

    std::vector<Anchored> anchored;
    ControlRecord label = NewControl(ControlKind::Label, target);
    label.rText = "None";
    label.rLabel = std::string(1, ScreenLabelMark) + request.Label;
    anchored.push_back({LastOfScreen(records, target), std::move(label), -1});

    std::vector<ControlRecord> added;
    for (int32_t s : screens) {
        Row row = FindRow(records, s);
        if (row.Positions.empty()) {
            // A screen without a row: its last link stands in for one.
            for (std::size_t i = records.size(); i-- > 0 && row.Positions.empty();)
                if (records[i].rScreen == s && LinksToLayoutScreen(records[i]))
                    row.Positions.push_back(static_cast<int>(i) + 1);
        }
        if (row.Positions.empty()) {
            plan.Refusal = "Screen " + std::to_string(s) +
                           " has no screen link to shape a link to the new screen on.";
            return plan;
        }
        const ControlRecord& last = records[static_cast<std::size_t>(row.Positions.back() - 1)];
        const Span2 lastSpan = Along(last, row.Column);
        int64_t gap = 0;
        if (row.Positions.size() >= 2) {
            const Span2 previous = Along(
                records[static_cast<std::size_t>(row.Positions[row.Positions.size() - 2] - 1)],
                row.Column);
            gap = std::max<int64_t>(0, lastSpan.A1 - std::max(previous.A1, previous.A2));
        }
        const int64_t length = std::abs(lastSpan.A2 - lastSpan.A1);
        const int64_t depth = std::abs(lastSpan.B2 - lastSpan.B1);

        ControlRecord link = last;
        link.rScreen = s;
        link.rOEMCode = target;
        link.rText = request.Label;
        if (!IsNoneText(link.rGText)) link.rGText = "None\r\n";

        // The key: the one asked for, else the next Alt+digit after the row's own, free on view.
        std::set<int32_t> taken = KeysInView(records, s);
        for (const ControlRecord& r : added)
            if (s == PersistentScreen || r.rScreen == s || r.rScreen == PersistentScreen)
                taken.insert(r.rHotKey);
        if (request.Key) {
            if (*request.Key != 0 && taken.count(*request.Key) != 0) {
                plan.Refusal = "The key " + HotKeyText(*request.Key) + " is taken on screen " +
                               std::to_string(s) + ".";
                return plan;
            }
            link.rHotKey = *request.Key;
        } else {
            std::size_t start = 0;
            for (std::size_t d = 0; d < KeyDigits.size(); ++d)
                if (last.rHotKey == AltDigit(KeyDigits[d])) start = d + 1;
            link.rHotKey = 0;
            for (std::size_t n = 0; n < KeyDigits.size(); ++n) {
                const int32_t key = AltDigit(KeyDigits[(start + n) % KeyDigits.size()]);
                if (taken.count(key) == 0) {
                    link.rHotKey = key;
                    break;
                }
            }
        }

        const Resolution size = DetectResolution(records, s).Size;
        const auto at = [&](int64_t a, int64_t b) {
            ControlRecord placed = link;
            PlaceAlong(placed, {a, b, a + length, b + depth}, row.Column);
            return placed;
        };
        PlacedLink placed{s, 0, link.rHotKey, true, {}};
        const int64_t a = std::max(lastSpan.A1, lastSpan.A2) + gap;
        const int64_t b = std::min(lastSpan.B1, lastSpan.B2);
        ControlRecord candidate = at(a, b);
        bool room = RoomFor(records, candidate, size, added);
        const char* side = row.Column ? "right of its column" : "below its row";
        if (!room) {
            // Along a new line beside the row, from where the row starts.
            placed.AfterRow = false;
            const Span2 first =
                Along(records[static_cast<std::size_t>(row.Positions.front() - 1)], row.Column);
            const int64_t across = std::max(lastSpan.B1, lastSpan.B2) + gap;
            for (int64_t along = std::min(first.A1, first.A2); !room; along += length + gap) {
                candidate = at(along, across);
                if (!HoldsExtents(size, std::max(candidate.rX1, candidate.rX2),
                                  std::max(candidate.rY1, candidate.rY2)) &&
                    along > std::min(first.A1, first.A2))
                    break;
                room = RoomFor(records, candidate, size, added);
                if (length + gap <= 0) break;
            }
        }
        std::string where = "screen " + std::to_string(s) + ": ";
        if (room && placed.AfterRow) {
            where += "after its last link, at " + Point(candidate.rX1, candidate.rY1);
        } else if (room) {
            where += std::string("no room after its last link; placed ") + side + ", at " +
                     Point(candidate.rX1, candidate.rY1);
        } else {
            candidate = at(a, b);
            where += "no room after its last link nor " + std::string(side) + "; placed after it " +
                     "at " + Point(candidate.rX1, candidate.rY1) +
                     ", over other controls or beyond the screen: move it where it belongs";
        }
        if (link.rHotKey == 0)
            where += ", no key free";
        else
            where += ", key " + HotKeyText(link.rHotKey);
        placed.Where = std::move(where);
        if (!placed.AfterRow) plan.Notes.push_back("Screen " + placed.Where.substr(7) + ".");
        added.push_back(candidate);
        anchored.push_back(
            {LastOfScreen(records, s), std::move(candidate), static_cast<int>(plan.Links.size())});
        plan.Links.push_back(std::move(placed));
    }
    if (screens.empty())
        plan.Notes.push_back("No screen has a row of screen links: screen " +
                             std::to_string(target) + " is shown by no link yet.");

    std::map<int, int> positions;
    plan.Edit.Inserted = Insertions(std::move(anchored), positions);
    for (std::size_t k = 0; k < plan.Links.size(); ++k)
        plan.Links[k].Record = positions[static_cast<int>(k)];
    plan.Screen = target;
    plan.Text = "New screen " + std::to_string(target) + " \"" + request.Label + "\"";
    return plan;
}

NewScreenPlan DuplicateScreenEdit(std::span<const ControlRecord> records, int32_t source,
                                  const std::string& label, std::optional<int32_t> chosen) {
    NewScreenPlan plan;
    if (!IsLayoutScreen(source) || CountsOf(records)[static_cast<std::size_t>(source)] == 0) {
        plan.Refusal = "Screen " + std::to_string(source) + " holds no control to duplicate.";
        return plan;
    }
    if (std::string refusal = LabelRefusal(records, label); !refusal.empty()) {
        plan.Refusal = std::move(refusal);
        return plan;
    }
    const int32_t target = TargetScreen(records, chosen, plan.Refusal);
    if (target < 0) return plan;
    const auto copies =
        static_cast<std::size_t>(CountsOf(records)[static_cast<std::size_t>(source)]);
    if (records.size() + copies + 1 > static_cast<std::size_t>(MaxControls)) {
        plan.Refusal = "The layout holds " + std::to_string(records.size()) +
                       " controls: a copy of screen " + std::to_string(source) +
                       " would pass the most a layout holds, " + std::to_string(MaxControls) + ".";
        return plan;
    }

    std::vector<Anchored> anchored;
    const int after = LastOfScreen(records, target);
    bool renamed = false;
    for (const ControlRecord& r : records) {
        if (r.rScreen != source) continue;
        ControlRecord copy = r;
        copy.rScreen = target;
        if (LinksToLayoutScreen(copy) && copy.rOEMCode == source) copy.rOEMCode = target;
        if (!renamed && NamesScreen(copy)) {
            copy.rLabel = std::string(1, ScreenLabelMark) + label;
            renamed = true;
        }
        anchored.push_back({after, std::move(copy), 0});
    }
    if (!renamed) {
        ControlRecord named = NewControl(ControlKind::Label, target);
        named.rText = "None";
        named.rLabel = std::string(1, ScreenLabelMark) + label;
        anchored.push_back({after, std::move(named), 0});
    }
    std::map<int, int> positions;
    plan.Edit.Inserted = Insertions(std::move(anchored), positions);
    plan.Screen = target;
    plan.Text = "Duplicate screen " + std::to_string(source) + " as " + std::to_string(target) +
                " \"" + label + "\"";
    return plan;
}

void cLayout::StartEmpty() {
    Trailer = {};
    AdoptRecords({}, {});
}
