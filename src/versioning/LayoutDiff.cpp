#include "versioning/LayoutDiff.h"

#include <algorithm>
#include <tuple>

#include "layout/HostCodes.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";
constexpr std::size_t CaptionLimit = 40;

bool IsUnassignedByte(unsigned char c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// The order of kinds at one place: what went, what came, what changed, what moved.
int KindRank(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Removed:
        return 0;
    case ChangeKind::Added:
        return 1;
    case ChangeKind::Changed:
        return 2;
    case ChangeKind::Reordered:
        return 3;
    case ChangeKind::Trailer:
        break;
    }
    return 4;
}

} // namespace

const char* ChangeKindName(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Added:
        return "added";
    case ChangeKind::Removed:
        return "removed";
    case ChangeKind::Changed:
        return "changed";
    case ChangeKind::Reordered:
        return "reordered";
    case ChangeKind::Trailer:
        break;
    }
    return "trailer";
}

std::string ControlDescription(const ControlRecord& record) {
    std::string name = KindName(record.rType);
    const std::string* text = &record.rText;
    if (IsNoneText(*text) && record.rType == ControlKind::Label) text = &record.rLabel;
    if (IsNoneText(*text)) return name;
    std::string caption;
    for (char c : *text) {
        const auto b = static_cast<unsigned char>(c);
        const bool blank = b < 0x20 || b == 0x7F || IsUnassignedByte(b) || c == ' ';
        if (blank && (caption.empty() || caption.back() == ' ')) continue;
        caption.push_back(blank ? ' ' : c);
    }
    while (!caption.empty() && caption.back() == ' ')
        caption.pop_back();
    if (caption.size() > CaptionLimit) caption = caption.substr(0, CaptionLimit - 3) + "...";
    return name + " \"" + caption + "\"";
}

std::string ScreenName(std::span<const ControlRecord> records, int32_t screen) {
    for (const ControlRecord& r : records)
        if (r.rScreen == screen && r.IsScreenLabel()) return r.rLabel.substr(1);
    return {};
}

std::vector<ShownField> ShownFields(const LayoutDifference& change) {
    std::vector<ShownField> shown;
    bool rectangle = false;
    for (int field : change.Fields) {
        if (change.Kind == ChangeKind::Changed && IsRectangleField(field)) {
            if (!rectangle) shown.push_back({FieldNo::rX1, true});
            rectangle = true;
            continue;
        }
        shown.push_back({field, false});
    }
    return shown;
}

std::string FieldValueText(const ControlRecord& r, const ShownField& shown) {
    if (shown.Rectangle)
        return "(" + std::to_string(r.rX1) + "," + std::to_string(r.rY1) + ")-(" +
               std::to_string(r.rX2) + "," + std::to_string(r.rY2) + ")";
    const RecordField& field = RecordFields[static_cast<std::size_t>(shown.Field)];
    if (!field.IsText()) return std::to_string(r.*field.Number);
    std::string text = "\"";
    for (char c : r.*field.Text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text.push_back('\\');
            text.push_back(c);
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (b < 0x20 || b == 0x7F || IsUnassignedByte(b)) {
            text += "\\u00";
            text.push_back(Hex[b >> 4]);
            text.push_back(Hex[b & 0xF]);
        } else {
            text.push_back(c);
        }
    }
    return text + "\"";
}

std::string ChangePositions(const LayoutDifference& change) {
    switch (change.Kind) {
    case ChangeKind::Added:
        return std::to_string(change.New);
    case ChangeKind::Removed:
        return std::to_string(change.Old);
    case ChangeKind::Trailer:
        return {};
    case ChangeKind::Changed:
    case ChangeKind::Reordered:
        break;
    }
    return std::to_string(change.Old) + " -> " + std::to_string(change.New);
}

std::string ChangeDetails(const LayoutDifference& change, const LayoutContent& older,
                          const LayoutContent& newer) {
    std::string text;
    if (change.Kind == ChangeKind::Trailer) {
        for (int k : change.Fields) {
            const auto at = static_cast<std::size_t>(k);
            text += (text.empty() ? "" : "; ") + std::string("Trailer(") + std::to_string(k + 1) +
                    ") " + std::to_string(older.Trailer[at]) + " -> " +
                    std::to_string(newer.Trailer[at]);
        }
        return text;
    }
    if (change.Kind != ChangeKind::Changed) return text;
    const ControlRecord& a = older.Records[static_cast<std::size_t>(change.Old - 1)];
    const ControlRecord& b = newer.Records[static_cast<std::size_t>(change.New - 1)];
    for (const ShownField& shown : ShownFields(change)) {
        if (!text.empty()) text += "; ";
        text += shown.Rectangle ? "rectangle"
                                : RecordFields[static_cast<std::size_t>(shown.Field)].Name;
        text += " " + FieldValueText(a, shown) + " -> " + FieldValueText(b, shown);
    }
    return text;
}

LayoutDiff DiffLayouts(const LayoutContent& older, const LayoutContent& newer) {
    LayoutDiff diff;
    const RecordMatch match = MatchRecords(older.Records, newer.Records);
    diff.Screens = match.Screens;

    // Each change with where it stands in the new version, for the order of the list.
    std::vector<std::pair<double, LayoutDifference>> placed;
    for (std::size_t i = 0; i < older.Records.size(); ++i) {
        const ControlRecord& a = older.Records[i];
        const int j = match.NewOfOld[i];
        if (j < 0) {
            placed.push_back({match.ExpectedNew[i],
                              {ChangeKind::Removed, a.rScreen, static_cast<int>(i) + 1, 0, {}}});
            continue;
        }
        const ControlRecord& b = newer.Records[static_cast<std::size_t>(j)];
        LayoutDifference changed{
            ChangeKind::Changed, b.rScreen, static_cast<int>(i) + 1, j + 1, {}};
        for (std::size_t k = 0; k < RecordFields.size(); ++k)
            if (!RecordFields[k].Same(a, b)) changed.Fields.push_back(static_cast<int>(k));
        if (!changed.Fields.empty()) placed.push_back({static_cast<double>(j), changed});
        if (match.Reordered[i])
            placed.push_back({static_cast<double>(j),
                              {ChangeKind::Reordered, b.rScreen, changed.Old, changed.New, {}}});
    }
    for (std::size_t j = 0; j < newer.Records.size(); ++j)
        if (match.OldOfNew[j] < 0)
            placed.push_back(
                {static_cast<double>(j),
                 {ChangeKind::Added, newer.Records[j].rScreen, 0, static_cast<int>(j) + 1, {}}});
    std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
        return std::tuple(a.second.Screen, a.first, KindRank(a.second.Kind)) <
               std::tuple(b.second.Screen, b.first, KindRank(b.second.Kind));
    });
    for (auto& [where, change] : placed)
        diff.Changes.push_back(std::move(change));

    LayoutDifference trailer{ChangeKind::Trailer, 0, 0, 0, {}};
    for (std::size_t k = 0; k < older.Trailer.size(); ++k)
        if (older.Trailer[k] != newer.Trailer[k]) trailer.Fields.push_back(static_cast<int>(k));
    if (!trailer.Fields.empty()) diff.Changes.push_back(trailer);
    return diff;
}
