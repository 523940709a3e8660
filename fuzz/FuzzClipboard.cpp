// Any bytes as what a clipboard holds, under our type of copied controls or as plain text from
// another program: the text is either refused with a message naming its line and nothing changes,
// or it is read to controls that write back to the same text, and pasting them onto a screen of a
// layout changes nothing but the paste: the records inserted lie on that screen, the layout's
// other records stand as they were, in order, and undo gives back the layout as it was.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "LayoutBuilders.h"
#include "editing/ControlEdits.h"
#include "editing/CopiedControls.h"
#include "layout/HostCodes.h"

namespace {

bool NamesALine(const std::string& error) {
    return error.rfind("line ", 0) == 0 && error.find(": ") != std::string::npos;
}

void CheckPaste(const CopiedControls& copied, bool sameLayout) {
    static AgreeingDialogs dialogs;
    static cLayout layout(dialogs);
    static const std::vector<ControlRecord> records = SkinnedLayout();
    cLayoutProbe::Adopt(layout, records);
    constexpr int32_t Screen = 3;
    const std::string identity = "this layout";
    CopiedControls source = copied;
    if (sameLayout) source.Layout = identity;

    const PastePlan plan =
        PasteEdit(layout.Records(), ScreenLabels(layout), identity, source, Screen);
    if (plan.Refused()) {
        FUZZ_CHECK(plan.Edit.Empty());
        return;
    }
    FUZZ_CHECK(plan.Edit.Changed.empty() && plan.Edit.Removed.empty());
    FUZZ_CHECK(static_cast<int>(plan.Edit.Inserted.size()) == plan.Pasted);
    FUZZ_CHECK(plan.Pasted + plan.LinksDropped == static_cast<int>(copied.Records.size()));
    if (!layout.ApplyEdit(plan.Edit, plan.Text).empty()) {
        // A text too long for a file: refused whole.
        FUZZ_CHECK(cLayoutProbe::Records(layout) == records);
        return;
    }
    const std::vector<ControlRecord>& after = cLayoutProbe::Records(layout);
    FUZZ_CHECK(after.size() == records.size() + plan.Edit.Inserted.size());
    std::vector<char> inserted(after.size(), 0);
    for (const auto& [position, record] : plan.Edit.Inserted) {
        inserted[static_cast<std::size_t>(position - 1)] = 1;
        FUZZ_CHECK(after[static_cast<std::size_t>(position - 1)] == record);
        FUZZ_CHECK(record.rScreen == Screen);
        // A link kept from another layout shows a screen of this one by its label.
        if (!sameLayout && LinksToLayoutScreen(record))
            FUZZ_CHECK(!layout.Screens()[static_cast<std::size_t>(record.rOEMCode)].Label.empty());
    }
    std::vector<ControlRecord> others;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (inserted[i] == 0) others.push_back(after[i]);
    FUZZ_CHECK(others == records);
    layout.Undo();
    FUZZ_CHECK(cLayoutProbe::Records(layout) == records);
}

void CheckRead(const CopiedControls& read) {
    FUZZ_CHECK(read.Records.size() <= static_cast<std::size_t>(MaxControls));
    FUZZ_CHECK(read.Records.size() == read.Positions.size());
    CopiedControls again;
    std::string error;
    FUZZ_CHECK(ReadCopiedControls(CopiedControlsText(read), again, error));
    FUZZ_CHECK(again == read);
    CheckPaste(read, false);
    CheckPaste(read, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CopiedControls kept;
    kept.Records = {MakeDRO(1, 1, 5, 5)};
    kept.Positions = {1};
    for (const bool plain : {false, true}) {
        CopiedControls read = kept;
        std::string error;
        const bool ok = plain ? ReadControlsFromPlainText(text, read, error)
                              : ReadCopiedControls(text, read, error);
        if (!ok) {
            FUZZ_CHECK(NamesALine(error));
            FUZZ_CHECK(read == kept);
            continue;
        }
        CheckRead(read);
    }
    return 0;
}
