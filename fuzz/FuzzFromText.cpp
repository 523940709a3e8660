// Any bytes as the text form of a layout: the text is either refused with a message naming its
// line, or read to records that write back to a text reading to the same records, and that diff
// and merge take like any layout's: the diff accounts for every record, the merge gives a layout
// a file can hold or refuses, and a merge with a side that changed nothing is the other side.
// The same bytes go to the readers of one record and of a controls list.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "LayoutBuilders.h"
#include "versioning/LayoutDiff.h"
#include "versioning/LayoutFiles.h"
#include "versioning/LayoutMerge.h"
#include "versioning/LayoutText.h"

namespace {

bool NamesALine(const std::string& error) {
    return error.rfind("line ", 0) == 0 && error.find(": ") != std::string::npos;
}

void CheckDiff(const LayoutContent& older, const LayoutContent& newer) {
    const LayoutDiff diff = DiffLayouts(older, newer);
    long added = 0, removed = 0;
    for (const LayoutDifference& c : diff.Changes) {
        FUZZ_CHECK(c.Old >= 0 && c.Old <= static_cast<int>(older.Records.size()));
        FUZZ_CHECK(c.New >= 0 && c.New <= static_cast<int>(newer.Records.size()));
        added += c.Kind == ChangeKind::Added;
        removed += c.Kind == ChangeKind::Removed;
    }
    FUZZ_CHECK(added - removed ==
               static_cast<long>(newer.Records.size()) - static_cast<long>(older.Records.size()));
    FUZZ_CHECK(diff.Same() == (older == newer));
}

void CheckMerge(const LayoutContent& base, const LayoutContent& ours, const LayoutContent& theirs) {
    const MergeResult merge = MergeLayouts(base, ours, theirs);
    if (!merge.Refusal.empty()) {
        FUZZ_CHECK(!CheckLayoutContent(merge.Merged).empty());
        return;
    }
    FUZZ_CHECK(CheckLayoutContent(merge.Merged).empty());
    for (const MergeConflict& c : merge.Conflicts)
        FUZZ_CHECK(c.Record >= 0 && c.Record <= static_cast<int>(merge.Merged.Records.size()));
    FUZZ_CHECK(merge.Merged.Records.size() <= ours.Records.size() + theirs.Records.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const LayoutContent base{SkinnedLayout(), {0, 0, 0, 1024, 768}};
    static const LayoutContent ours = [] {
        LayoutContent edited = base;
        edited.Records[4].rText = "Ours";
        edited.Records.erase(edited.Records.begin() + 9);
        for (ControlRecord& r : edited.Records)
            if (r.rScreen == 2 || r.rScreen == 3) r.rScreen = 5 - r.rScreen;
        return edited;
    }();
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    LayoutContent read{{MakeDRO(1, 1, 5, 5)}, {1}};
    const LayoutContent before = read;
    std::string error;
    if (!LayoutFromText(text, read, error)) {
        FUZZ_CHECK(NamesALine(error));
        FUZZ_CHECK(read == before);
    } else {
        FUZZ_CHECK(read.Records.size() <= static_cast<std::size_t>(MaxControls));
        FUZZ_CHECK(CheckLayoutContent(read).empty());
        const std::string written = LayoutToText(read);
        LayoutContent again;
        FUZZ_CHECK(LayoutFromText(written, again, error));
        FUZZ_CHECK(again == read);
        FUZZ_CHECK(LayoutToText(again) == written);
        CheckDiff(base, read);
        CheckDiff(read, ours);
        CheckMerge(base, ours, read);
        CheckMerge(base, read, ours);
        CheckMerge(read, ours, base);
        // A side that changed nothing takes the other side whole.
        FUZZ_CHECK(MergeLayouts(base, base, read).Merged == read);
        FUZZ_CHECK(MergeLayouts(base, read, base).Merged == read);
    }

    std::vector<ControlRecord> controls;
    if (ControlsFromText(text, controls, error)) {
        CheckDiff(base, {controls, base.Trailer});
        CheckMerge(base, ours, {controls, {}});
    } else {
        FUZZ_CHECK(NamesALine(error));
    }
    ControlRecord record;
    int position = 0;
    if (RecordFromJson(text, record, position, error)) {
        ControlRecord back;
        int again = 0;
        FUZZ_CHECK(RecordFromJson(RecordJsonLine(record, position), back, again, error));
        FUZZ_CHECK(back == record && again == position);
    } else {
        FUZZ_CHECK(NamesALine(error));
    }
    return 0;
}
