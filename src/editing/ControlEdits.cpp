#include "editing/ControlEdits.h"

#include <algorithm>
#include <limits>
#include <map>

#include "layout/HostCodes.h"
#include "preview/ScreenScene.h"

namespace {

constexpr int32_t NewControlPlace = 20;

// Ascending, without repeats; false when one names no record.
bool SortedPositions(std::span<const ControlRecord> records, std::vector<int> positions,
                     std::vector<int>& sorted, std::string& refusal) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (int position : positions) {
        if (position < 1 || position > static_cast<int>(records.size())) {
            refusal = "There is no control " + std::to_string(position) + ".";
            return false;
        }
    }
    sorted = std::move(positions);
    return true;
}

// The 0-based index of the last record on the screen; the last record of all when it has none.
int LastOfScreen(std::span<const ControlRecord> records, int32_t screen) {
    for (std::size_t i = records.size(); i-- > 0;)
        if (records[i].rScreen == screen) return static_cast<int>(i);
    return static_cast<int>(records.size()) - 1;
}

// Records to insert, each after the 0-based index of an old record (-1: before the first), as the
// positions after the edit that ApplyEdit takes. Records after one index keep their order.
std::vector<std::pair<int, ControlRecord>>
InsertionsAfter(std::vector<std::pair<int, ControlRecord>> anchored) {
    std::stable_sort(anchored.begin(), anchored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t k = 0; k < anchored.size(); ++k)
        anchored[k].first = anchored[k].first + 1 + static_cast<int>(k) + 1;
    return anchored;
}

// The record moved by dx, dy; false when an edge would leave the 32-bit range.
bool Moved(ControlRecord& r, int64_t dx, int64_t dy) {
    const auto fits = [](int64_t v) {
        return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    };
    const int64_t x1 = r.rX1 + dx, x2 = r.rX2 + dx, y1 = r.rY1 + dy, y2 = r.rY2 + dy;
    if (!fits(x1) || !fits(x2) || !fits(y1) || !fits(y2)) return false;
    r.rX1 = static_cast<int32_t>(x1);
    r.rX2 = static_cast<int32_t>(x2);
    r.rY1 = static_cast<int32_t>(y1);
    r.rY2 = static_cast<int32_t>(y2);
    return true;
}

std::string Folded(std::string_view label) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!label.empty() && blank(label.front()))
        label.remove_prefix(1);
    while (!label.empty() && blank(label.back()))
        label.remove_suffix(1);
    std::string folded(label);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

struct KindDefaults {
    int32_t Width, Height;
    const char* Text;
    const char* Format;
};

KindDefaults DefaultsOf(int32_t kind) {
    switch (kind) {
    case ControlKind::DRO:
        return {120, 30, "None", "%+.4f"};
    case ControlKind::ScrollBar:
        return {20, 150, "None", "None"};
    case ControlKind::Bitmap:
        return {100, 100, "None", "None"};
    case ControlKind::Button:
        return {100, 40, "Button", "None"};
    case ControlKind::JogBall:
        return {100, 100, "None", "None"};
    case ControlKind::LED:
        return {20, 20, "None", "None"};
    case ControlKind::Label:
        return {120, 20, "Label", "None"};
    case ControlKind::BitmapButton:
        return {100, 40, "None", "None"};
    case ControlKind::MDILine:
        return {400, 25, "None", "None"};
    case ControlKind::GCodeWindow:
        return {400, 200, "None", "None"};
    default:
        return {300, 300, "None", "None"};
    }
}

} // namespace

std::string ControlsCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " control" : " controls");
}

ControlsEditPlan SetFieldsEdit(std::span<const ControlRecord> records,
                               const std::vector<int>& positions,
                               std::span<const std::pair<const ControlField*, FieldValue>> values) {
    ControlsEditPlan plan;
    std::vector<int> sorted;
    if (!SortedPositions(records, positions, sorted, plan.Refusal)) return plan;
    if (sorted.empty() || values.empty()) return plan;
    std::string names;
    for (const auto& [field, value] : values)
        if (names.find(field->Name) == std::string::npos)
            names += std::string(names.empty() ? "" : ", ") + field->Name;
    plan.Text = "Change " + names + " of " + ControlsCount(sorted.size());
    for (int position : sorted) {
        ControlRecord record = records[static_cast<std::size_t>(position - 1)];
        const std::string refusal = ApplyFieldValues(record, values);
        if (!refusal.empty()) {
            plan.Refusal = sorted.size() == 1
                               ? refusal
                               : "control " + std::to_string(position) + ": " + refusal;
            plan.Edit = {};
            return plan;
        }
        if (record != records[static_cast<std::size_t>(position - 1)])
            plan.Edit.Changed.emplace_back(position, std::move(record));
    }
    return plan;
}

ControlsEditPlan SetFieldEdit(std::span<const ControlRecord> records,
                              const std::vector<int>& positions, const ControlField& field,
                              const FieldValue& value) {
    const std::pair<const ControlField*, FieldValue> one{&field, value};
    return SetFieldsEdit(records, positions, std::span(&one, 1));
}

ControlRecord NewControl(int32_t kind, int32_t screen) {
    const KindDefaults defaults = DefaultsOf(kind);
    ControlRecord r;
    r.rType = kind;
    r.rScreen = screen;
    r.rText = defaults.Text;
    r.rGText = "None\r\n";
    r.rBitMapPath = "None";
    r.rLabel = "None";
    r.rFormat = defaults.Format;
    r.rX1 = NewControlPlace;
    r.rY1 = NewControlPlace;
    r.rX2 = NewControlPlace + defaults.Width;
    r.rY2 = NewControlPlace + defaults.Height;
    return r;
}

ControlsEditPlan AddControlEdit(std::span<const ControlRecord> records, int32_t kind,
                                int32_t screen) {
    ControlsEditPlan plan;
    if (!IsKnownKind(kind)) {
        plan.Refusal = "A control of kind " + std::to_string(kind) +
                       " cannot be added: the kinds are 1 to 11.";
        return plan;
    }
    ControlRecord added = NewControl(kind, screen);
    // Each further control added at the same place steps aside, so none hides another.
    for (bool taken = true; taken;) {
        taken = std::any_of(records.begin(), records.end(), [&added](const ControlRecord& r) {
            return r.rScreen == added.rScreen && r.rX1 == added.rX1 && r.rY1 == added.rY1;
        });
        if (taken) Moved(added, CopyOffset, CopyOffset);
    }
    plan.Edit.Inserted = InsertionsAfter({{LastOfScreen(records, screen), std::move(added)}});
    plan.Text = "Add " + KindName(kind);
    return plan;
}

ControlsEditPlan DuplicateEdit(std::span<const ControlRecord> records,
                               const std::vector<int>& positions) {
    ControlsEditPlan plan;
    std::vector<int> sorted;
    if (!SortedPositions(records, positions, sorted, plan.Refusal) || sorted.empty()) return plan;
    std::vector<std::pair<int, ControlRecord>> copies;
    for (int position : sorted) {
        ControlRecord copy = records[static_cast<std::size_t>(position - 1)];
        if (!Moved(copy, CopyOffset, CopyOffset)) {
            plan.Refusal = "Control " + std::to_string(position) +
                           " cannot be duplicated: its copy would lie outside the 32-bit range.";
            return plan;
        }
        copies.emplace_back(LastOfScreen(records, copy.rScreen), std::move(copy));
    }
    plan.Edit.Inserted = InsertionsAfter(std::move(copies));
    plan.Text = "Duplicate " + ControlsCount(sorted.size());
    return plan;
}

ControlsEditPlan DeleteEdit(std::span<const ControlRecord> records,
                            const std::vector<int>& positions) {
    ControlsEditPlan plan;
    std::vector<int> sorted;
    if (!SortedPositions(records, positions, sorted, plan.Refusal) || sorted.empty()) return plan;
    plan.Edit.Removed = sorted;
    plan.Text = "Delete " + ControlsCount(sorted.size());
    return plan;
}

ControlsEditPlan StackingEdit(std::span<const ControlRecord> records,
                              const std::vector<int>& positions, bool front) {
    ControlsEditPlan plan;
    std::vector<int> sorted;
    if (!SortedPositions(records, positions, sorted, plan.Refusal) || sorted.empty()) return plan;
    plan.Text = (front ? "Bring " : "Send ") + ControlsCount(sorted.size()) +
                (front ? " to front" : " to back");

    std::vector<char> chosen(records.size(), 0);
    for (int position : sorted)
        chosen[static_cast<std::size_t>(position - 1)] = 1;
    // A layer of a screen is its bitmaps or its other controls.
    using Layer = std::pair<int32_t, int>;
    const auto layerOf = [&](std::size_t i) {
        return Layer{records[i].rScreen, PaintingLayer(records[i].rType)};
    };
    // The record of the other controls of each layer the chosen ones move past: the last one for
    // the front, the first one for the back.
    std::map<Layer, std::size_t> anchor;
    std::map<Layer, std::vector<std::size_t>> moving;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Layer layer = layerOf(i);
        if (chosen[i] != 0) {
            moving[layer].push_back(i);
        } else if (front || !anchor.contains(layer)) {
            anchor[layer] = i;
        }
    }
    std::vector<std::size_t> order;
    order.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Layer layer = layerOf(i);
        const auto at = anchor.find(layer);
        if (chosen[i] != 0) {
            // Alone in its layer: it stays where it is.
            if (at == anchor.end()) order.push_back(i);
            continue;
        }
        if (at == anchor.end() || at->second != i) {
            order.push_back(i);
            continue;
        }
        const std::vector<std::size_t>& moved = moving[layer];
        if (front) order.push_back(i);
        order.insert(order.end(), moved.begin(), moved.end());
        if (!front) order.push_back(i);
    }
    bool same = true;
    for (std::size_t i = 0; i < order.size() && same; ++i)
        same = order[i] == i;
    if (same) return plan;
    // Every chosen record comes out and goes in at its new place; the others keep their order,
    // so they fill the rest as they were.
    plan.Edit.Removed = sorted;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (chosen[order[i]] != 0)
            plan.Edit.Inserted.emplace_back(static_cast<int>(i) + 1, records[order[i]]);
    return plan;
}

std::array<std::string, ScreenCount> ScreenLabels(const cLayout& layout) {
    std::array<std::string, ScreenCount> labels;
    for (std::size_t s = 0; s < labels.size(); ++s)
        labels[s] = layout.Screens()[s].Label;
    return labels;
}

PastePlan PasteEdit(std::span<const ControlRecord> records,
                    const std::array<std::string, ScreenCount>& labels,
                    const std::string& layoutIdentity, const CopiedControls& copied,
                    int32_t screen) {
    PastePlan plan;
    const bool sameLayout = !layoutIdentity.empty() && copied.Layout == layoutIdentity;
    plan.Offset =
        sameLayout && std::any_of(copied.Records.begin(), copied.Records.end(),
                                  [screen](const ControlRecord& r) { return r.rScreen == screen; });
    const int anchor = LastOfScreen(records, screen);
    std::vector<std::pair<int, ControlRecord>> pasted;
    for (const ControlRecord& original : copied.Records) {
        ControlRecord r = original;
        if (!sameLayout && LinksToLayoutScreen(r)) {
            const std::string label = Folded(copied.Labels[static_cast<std::size_t>(r.rOEMCode)]);
            int32_t found = -1;
            for (std::size_t s = 0; s < labels.size() && found < 0 && !label.empty(); ++s)
                if (Folded(labels[s]) == label) found = static_cast<int32_t>(s);
            if (found < 0) {
                ++plan.LinksDropped;
                continue;
            }
            ++plan.LinksKept;
            if (found != r.rOEMCode) ++plan.LinksRenumbered;
            r.rOEMCode = found;
        }
        r.rScreen = screen;
        if (plan.Offset && !Moved(r, CopyOffset, CopyOffset)) {
            plan = {};
            plan.Refusal = "The controls cannot be pasted 10 pixels off the copied ones: a copy "
                           "would lie outside the 32-bit range.";
            return plan;
        }
        pasted.emplace_back(anchor, std::move(r));
    }
    plan.Pasted = static_cast<int>(pasted.size());
    if (pasted.empty()) {
        plan.Refusal =
            copied.Records.empty()
                ? "There are no controls to paste."
                : "Nothing was pasted: " + ControlsCount(copied.Records.size()) +
                      (copied.Records.size() == 1 ? " was a screen link" : " were screen links") +
                      " to screens no screen here has the label of.";
        return plan;
    }
    plan.Edit.Inserted = InsertionsAfter(std::move(pasted));
    plan.Text = "Paste " + ControlsCount(static_cast<std::size_t>(plan.Pasted));
    return plan;
}

std::string PasteSummary(const PastePlan& plan, int32_t screen) {
    std::string text = "Pasted " + ControlsCount(static_cast<std::size_t>(plan.Pasted)) +
                       " on screen " + std::to_string(screen);
    if (plan.Offset) text += ", 10 pixels off the copied ones";
    if (plan.LinksKept > 0 || plan.LinksDropped > 0) {
        text += "; screen links: " + std::to_string(plan.LinksKept) +
                " kept by their screen's label (" + std::to_string(plan.LinksRenumbered) +
                " renumbered), " + std::to_string(plan.LinksDropped) +
                " dropped (no screen of their label here)";
    }
    return text;
}
