// Any bytes as a CSV file, with the caution answered OK: the import either completes, and then the
// records save to a layout file that loads again to the same records, or it is refused with the
// Additional layout untouched.

#include <cstdint>
#include <cstdio>

#include "FuzzSupport.h"
#include "LayoutBuilders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static AgreeingDialogs dialogs;
    static cLayout additional(dialogs);
    static cLayout reloaded(dialogs);
    static bool primed = false;
    const std::string& input = ScratchPath("input.csv");
    const std::string& output = ScratchPath("output.set");
    if (!primed) {
        // An Additional layout already open, so a refused import has something to keep.
        cLayoutProbe::Adopt(additional, {MakeScreenLabel(2, "Kept"), MakeDRO(2, 1, 5, 5)},
                            "kept.set");
        cLayoutProbe::SetTrailer(additional, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        primed = true;
    }

    const DocumentState before = cLayoutProbe::State(additional);
    WriteScratch(input, data, size);
    if (!additional.ImportCSV(input)) {
        FUZZ_CHECK(cLayoutProbe::State(additional) == before);
        return 0;
    }
    FUZZ_CHECK(additional.ControlCount() <= MaxControls);
    FUZZ_CHECK(additional.FileName() == input);
    FUZZ_CHECK(!additional.IsDirty());
    FUZZ_CHECK(cLayoutProbe::Trailer(additional) == before.trailer);
    FUZZ_CHECK(additional.SaveLayout(output));
    FUZZ_CHECK(reloaded.LoadLayout(output));
    FUZZ_CHECK(cLayoutProbe::Records(reloaded) == cLayoutProbe::Records(additional));

    // Put the kept layout back, so every input meets the same document.
    cLayoutProbe::Adopt(additional, before.records, before.fileName);
    return 0;
}
