// Numbers in the mesh and contour files are printed as printf's "%.*f" prints them.
#include "formats/text_sink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace korvel {
namespace {

std::string Fixed(double v, int decimals) {
    char text[LongestFixedNumber];
    return {text, PutFixed(text, v, decimals)};
}

std::string Printf(double v, int decimals) {
    char text[LongestFixedNumber];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

TEST(PutFixed, HandPickedValues) {
    const struct {
        double Value;
        int Decimals;
        const char* Text;
    } cases[] = {
        {0.25, 2, "0.25"},
        {0.25, 0, "0"},
        {0.5, 0, "0"},
        {1.5, 0, "2"},
        {2.5, 0, "2"},
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {-1e-7, 6, "-0.000000"},
        {-0.0, 3, "-0.000"},
        {1e20, 2, "100000000000000000000.00"},
        {123.456789, 4, "123.4568"},
        {1e15, 1, "1000000000000000.0"},
        {0.1, 16, "0.1000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fixed(c.Value, c.Decimals), c.Text) << c.Value << " " << c.Decimals;
        EXPECT_EQ(Fixed(c.Value, c.Decimals), Printf(c.Value, c.Decimals)) << c.Value;
    }
}

TEST(PutFixed, AgreesWithPrintfOnManyValues) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    for (int i = 0; i < 200000; ++i) {
        const double v = unit(random) * std::pow(10.0, exponent(random));
        const int decimals = i % 11;
        ASSERT_EQ(Fixed(v, decimals), Printf(v, decimals)) << v << " " << decimals;
    }
    // Ties of every kind: halves of the last place, exact in binary or not.
    for (int k = 0; k < 20000; ++k) {
        for (int decimals = 0; decimals <= 6; ++decimals) {
            const double v = (k + 0.5) / std::pow(10.0, decimals);
            ASSERT_EQ(Fixed(v, decimals), Printf(v, decimals)) << v << " " << decimals;
            ASSERT_EQ(Fixed(-v, decimals), Printf(-v, decimals)) << -v << " " << decimals;
        }
    }
}

} // namespace
} // namespace korvel
