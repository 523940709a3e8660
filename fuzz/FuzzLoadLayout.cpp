// Any bytes as a layout file: the load either completes, and then the layout saves to a file that
// loads again to the same records and trailer, or it is refused with the document untouched.

#include <cstdint>
#include <cstdio>

#include "FuzzSupport.h"
#include "LayoutBuilders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static AgreeingDialogs dialogs;
    static cLayout layout(dialogs);
    static cLayout reloaded(dialogs);
    static bool primed = false;
    const std::string& input = ScratchPath("input.set");
    const std::string& output = ScratchPath("output.set");
    if (!primed) {
        // A document that already holds a layout, so a refused load has something to keep.
        const std::string seed = LayoutFileBytes({MakeScreenLabel(1, "Kept"), MakeDRO(1, 1, 5, 5)},
                                                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        WriteScratch(input, reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
        FUZZ_CHECK(layout.LoadLayout(input));
        primed = true;
    }

    const DocumentState before = cLayoutProbe::State(layout);
    WriteScratch(input, data, size);
    const int boxesBefore = dialogs.Boxes;
    if (!layout.LoadLayout(input)) {
        FUZZ_CHECK(dialogs.Boxes == boxesBefore + 1); // one warning says why
        FUZZ_CHECK(cLayoutProbe::State(layout) == before);
        return 0;
    }
    FUZZ_CHECK(layout.ControlCount() >= 0 && layout.ControlCount() <= MaxControls);
    FUZZ_CHECK(!layout.IsDirty());
    FUZZ_CHECK(layout.SaveLayout(output));
    FUZZ_CHECK(reloaded.LoadLayout(output));
    FUZZ_CHECK(cLayoutProbe::Records(reloaded) == cLayoutProbe::Records(layout));
    FUZZ_CHECK(cLayoutProbe::Trailer(reloaded) == cLayoutProbe::Trailer(layout));
    return 0;
}
