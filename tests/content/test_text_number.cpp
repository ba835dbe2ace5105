#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "content/TextNumber.h"

namespace {

TEST(TextNumber, IntegersReadLenientlyWithHexAndBinaryPrefixes) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"12", 12},     {"12px", 12},  {"1.9", 1},     {"abc", 0},      {"", 0},
        {"   42", 42},  {"\t\n7", 7},  {"-5", -5},     {"+3", 3},       {"- 5", 0},
        {"0x10", 0},    {"$10", 16},   {"$ff", 255},   {"$FFz", 255},   {"$", 0},
        {"%101", 5},    {"%102", 2},   {"-$10", -16},  {"%", 0},        {"$g", 0},
        {"2147483647", 2147483647},    {"-2147483648", -2147483647 - 1},
        {"4294967297", 1},  // wraps at 32 bits instead of misbehaving
    };
    for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextNumber, FloatsReadUpToTheFirstCharacterThatCannotContinue) {
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"1.5", 1.5f},   {"-5", -5.0f},  {" 0.25x", 0.25f}, {"1e3", 1000.0f}, {"2.5e", 2.5f},
        {"2e-1", 0.2f},  {"2e+2", 200.0f}, {".5", 0.5f},    {"-.5", -0.5f},   {"3.", 3.0f},
        {"3.x", 3.0f},   {"abc", 0.0f},  {"", 0.0f},        {".", 0.0f},      {"-", 0.0f},
        {"$10", 0.0f},   {"1,5", 1.0f},  {"12px", 12.0f},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(TextToFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextNumber, FloatsOutOfRangeSaturateInsteadOfReadingAsZero) {
    EXPECT_TRUE(std::isinf(TextToFloat("1e400")));
    EXPECT_GT(TextToFloat("1e400"), 0.0f);
    EXPECT_LT(TextToFloat("-1e400"), 0.0f);
    EXPECT_EQ(TextToFloat("1e-400"), 0.0f);
    EXPECT_TRUE(std::isinf(TextToFloat("1e39")));  // fits a double, not a float
}

}  // namespace
