// The sample layouts a new user opens first: they load, round-trip byte for byte, and hold what
// every command needs to show itself.

#include <gtest/gtest.h>

#include <set>

#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"

namespace {

class SamplesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SamplesTest, LoadsRoundTripsAndShowsEveryFeature) {
    const std::string path = std::string(QUILL_SAMPLES_DIR) + "/" + GetParam();
    ScriptedDialogs dialogs;
    cLayout layout(dialogs);
    if (std::string(GetParam()) == "mill.set") dialogs.Answer(MsgAnswer::OK); // duplicate label
    ASSERT_TRUE(layout.LoadLayout(path));

    const auto& records = cLayoutProbe::Records(layout);
    std::set<int32_t> kinds;
    bool functionKey = false, beyondFifteen = false;
    for (const ControlRecord& r : records) {
        kinds.insert(r.rType);
        if (r.IsScreenChangeButton() && r.rOEMCode < 15 && r.rHotKey >= 112 && r.rHotKey <= 126)
            functionKey = true;
        if (r.IsScreenChangeButton() && r.rOEMCode > 15) beyondFifteen = true;
    }
    EXPECT_EQ(kinds.size(), 11u) << "every control kind";
    EXPECT_TRUE(functionKey);
    EXPECT_TRUE(beyondFifteen);
    EXPECT_GE(layout.EmptyScreenNr(), 1) << "a screen left empty for appending";
    EXPECT_FALSE(cLayoutProbe::Screen(layout, 1).Label.empty());

    TempDir dir;
    ASSERT_TRUE(layout.SaveLayout(dir.File("copy")));
    EXPECT_EQ(ReadBytes(dir.File("copy")), ReadBytes(path));
}

INSTANTIATE_TEST_SUITE_P(Samples, SamplesTest, ::testing::Values("mill.set", "lathe.lset"));

} // namespace
