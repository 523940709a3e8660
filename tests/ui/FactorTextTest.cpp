// The rescale factor as the user reads it, for every pair of resolutions.

#include <QLocale>

#include <gtest/gtest.h>

#include "ui/widgets/FactorText.h"

namespace {

constexpr int Widths[5] = {640, 800, 1024, 1152, 1280};

// Rows: original resolution; columns: new resolution.
const char* const Expected[5][5] = {
    {"1", "1.25", "1.6", "1.8", "2"},
    {"0.8", "1", "1.28", "1.44", "1.6"},
    {"0.625", "0.78125", "1", "1.125", "1.25"},
    {"0.5555556", "0.6944444", "0.8888889", "1", "1.111111"},
    {"0.5", "0.625", "0.8", "0.9", "1"},
};

float Factor(int from, int to) {
    return static_cast<float>(static_cast<double>(Widths[to]) / static_cast<double>(Widths[from]));
}

TEST(FactorText, EveryFactorOfTheResolutionTable) {
    for (int o = 0; o < 5; ++o)
        for (int n = 0; n < 5; ++n)
            EXPECT_EQ(FactorText(Factor(o, n), QLocale::c()), Expected[o][n])
                << Widths[o] << " -> " << Widths[n];
}

TEST(FactorText, UsesTheUsersDecimalSeparator) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FactorText(Factor(0, 1), german), "1,25");
    EXPECT_EQ(FactorText(Factor(3, 0), german), "0,5555556");
    EXPECT_EQ(FactorText(Factor(0, 4), german), "2");
    EXPECT_EQ(FactorText(1234567.0f, QLocale::c()), "1234567") << "no group separators";
    QLocale::setDefault(german);
    EXPECT_EQ(FactorText(Factor(1, 0)), "0,8") << "the default is the user's locale";
    QLocale::setDefault(QLocale::c());
}

} // namespace
