#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <regex>
#include <string>
#include <tuple>

#include "platform/plat_time.h"
#include "core/folders.h"
#include "core/numeric.h"
#include "core/frame_clock.h"
#include "core/text_util.h"
#include "core/simvars.h"
#include "tests/support/test_support.h"

TEST(TextUtil, StrcpyCutsSourceAndDestinationTo499)
{
    char source[700];
    std::memset(source, 'a', 600);
    source[600] = 0;
    char destination[TEXT_SIZE];
    EXPECT_EQ(UTIL_strcpy(source, destination), destination);
    EXPECT_EQ(std::strlen(source), 499u);
    EXPECT_EQ(std::strlen(destination), 499u);

    char* missing = nullptr;
    std::strcpy(destination, "kept");
    EXPECT_EQ(UTIL_strcpy(missing, destination), nullptr);
    EXPECT_STREQ(destination, "kept");
    UTIL_strcpy("", destination);
    EXPECT_STREQ(destination, "");
}

TEST(TextUtil, ConcatenationStaysWithinTheBuffer)
{
    char text[TEXT_SIZE] = "abc";
    EXPECT_EQ(UTIL_strcat(text, "de"), 5);
    EXPECT_STREQ(text, "abcde");
    // The destination may be one of the parts.
    EXPECT_EQ(UTIL_strcat3("x:", text, text), 7);
    EXPECT_STREQ(text, "x:abcde");

    std::string long_text(450, 'b');
    std::memset(text, 'a', 400);
    text[400] = 0;
    EXPECT_EQ(UTIL_strcat(text, long_text.c_str()), 499);
    EXPECT_EQ(UTIL_strcat3(long_text.c_str(), long_text.c_str(), text), 499);
    EXPECT_EQ(std::strlen(text), 499u);
}

TEST(TextUtil, CompareAndSearch)
{
    EXPECT_EQ(UTIL_strcmp_nocase("KSFO", "ksfo"), 0);
    EXPECT_GT(UTIL_strcmp_nocase("abc", "ab"), 0);
    for (auto [part, found] : {std::pair{"", 1}, {"xt", 1}, {"texts", 0}, {"X", 0}})
        EXPECT_EQ(UTIL_str_contains(part, "text"), found) << part;
}

TEST(TextUtil, TextToIntWeighsEveryCharacterByItsPlace)
{
    const std::pair<const char*, int> cases[] = {{"123", 123}, {"007", 7},  {"-5", -5},  {"+5", 15},
                                                 {"0-", -1},   {"", -1},    {"12a", -1}, {"123456789", 123456789},
                                                 {"1234567890", -1}};
    for (auto [text, value] : cases) EXPECT_EQ(UTIL_text_to_int(text), value) << text;
}

TEST(TextUtil, IntToTextPadsToWidth)
{
    const std::tuple<int, int, const char*> cases[] = {{7, 3, "007"},       {-42, 0, "-42"}, {0, 0, "0"},
                                                       {12345, 2, "12345"}, {-2147483647 - 1, 0, "-2147483648"}};
    for (auto [value, width, text] : cases) {
        char out[16];
        UTIL_int_to_text(value, out, width);
        EXPECT_STREQ(out, text) << value;
    }
}

TEST(TextUtil, TextToFloatQuirks)
{
    // The last sign wins; a later point counts as a decimal place.
    const std::pair<const char*, float> cases[] = {{"12.5", 12.5f}, {"-0.25", -0.25f}, {"1,5", 15.0f},
                                                   {"", 0.0f},      {"-3+4", 34.0f},   {"1.5.", 0.15f}};
    for (auto [text, value] : cases) EXPECT_FLOAT_EQ(UTIL_text_to_float(text), value) << text;
    // A 499-digit text neither overflows into NaN nor reads beyond the text.
    std::string digits(499, '9');
    EXPECT_TRUE(std::isinf(UTIL_text_to_float(digits.c_str())));
    digits[250] = '.';
    EXPECT_TRUE(std::isinf(UTIL_text_to_float(digits.c_str())));
}

TEST(TextUtil, NumberHelpersHoldTheirBounds)
{
    int h = 0, m = 0;
    UTIL_hours_minutes(3725.9f, h, m);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(m, 2);
    UTIL_hours_minutes(NAN, h, m);   // no undefined conversion
    EXPECT_EQ(h, 0);
    EXPECT_EQ(util_clamp_int(5, 10, 1), 10);   // the low bound is tested first
    EXPECT_EQ(UTIL_bad_float(NAN), 1);
    EXPECT_EQ(UTIL_bad_float(1e10f), 1);
    EXPECT_EQ(UTIL_bad_float(-9e9f), 0);

    // Decimals that keep a value in a fixed field.
    for (auto [x, d] : {std::pair{9.9f, 4}, {10.0f, 3}, {99.9f, 3}, {100.0f, 2}, {999.9f, 2}, {1000.0f, 1},
                        {9999.9f, 1}, {10000.0f, 0}, {-12345.0f, 0}, {-50.0f, 3}})
        EXPECT_EQ(UTIL_decimals_for_width(x), d) << x;
    // Glyphs: space, digits, capitals and the dash; anything else stands for '0'.
    for (auto [g, c] : {std::pair{0, ' '}, {1, '0'}, {10, '9'}, {11, 'A'}, {36, 'Z'}, {37, '-'}, {38, '0'}, {-1, '0'}})
        EXPECT_EQ(UTIL_glyph_to_char(g), c) << g;
    for (auto [c, g] : {std::pair{' ', 0}, {'0', 1}, {'9', 10}, {'A', 11}, {'Z', 36}, {'-', 37}, {'a', 1}, {'.', 1}})
        EXPECT_EQ(UTIL_char_to_glyph(c), g) << c;
    for (auto [c, d] : {std::pair{'0', 0}, {'7', 7}, {'+', 1}, {'-', -1}, {'x', 0}}) EXPECT_EQ(UTIL_char_to_digit(c), d) << c;
    for (auto [d, c] : {std::pair{0, '0'}, {1, '1'}, {9, '9'}, {10, '0'}, {-3, '0'}}) EXPECT_EQ(UTIL_digit_to_char(d), c) << d;
    for (auto [t, yes] : {std::pair{"", false}, {"12", true}, {"-+", true}, {"1.5", false}, {"+7", true}})
        EXPECT_EQ(UTIL_is_number_text(t), yes) << t;
    unsigned char pascal[8] = {};
    UTIL_c_to_pascal("abc", pascal);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pascal), 4), std::string("\x03" "abc", 4));
    EXPECT_EQ(UTIL_in_range(3, 3, 5) + UTIL_in_range(5, 3, 5) + UTIL_in_range(6, 3, 5), 2);
    // The pulse: 0.5 sin(4 (running time + phase)) + 0.5.
    sim_time.total_running_time_sec = 1.0f;
    EXPECT_NEAR(UTIL_time_pulse(0.0f), 0.5f * std::sin(4.0f) + 0.5f, 1e-6f);
    sim_time.total_running_time_sec = 0.0f;
    EXPECT_NEAR(UTIL_time_pulse(0.3926991f), 1.0f, 1e-6f);
    EXPECT_NEAR(UTIL_time_pulse(0.0f), 0.5f, 1e-6f);
}

TEST(TextUtil, PackNumberText)
{
    // A fourth digit starts the next number; a sign leaves the text alone.
    const std::pair<const char*, const char*> cases[] = {
        {"200 5", "\x02\x4a\x01\x06"}, {"1234  9", "\x01\x7c\x01\x05\x01\x0a"}, {"-1 2", "-1 2"}};
    char text[TEXT_SIZE];
    for (auto [in, out] : cases) {
        std::strcpy(text, in);
        UTIL_pack_number_text(text);
        EXPECT_STREQ(text, out) << in;
    }

    // 250 one-digit numbers would need 500 bytes and leave no room for the terminator.
    std::string many;
    for (int i = 0; i < 250; ++i) many += i ? " 1" : "1";
    std::strcpy(text, many.c_str());
    alert_record a = expect_fatal([&] { UTIL_pack_number_text(text); });
    EXPECT_EQ(a.code, 17);
    many.resize(many.size() - 2);   // 249 numbers fit in 498 bytes
    std::strcpy(text, many.c_str());
    UTIL_pack_number_text(text);
    EXPECT_EQ(std::strlen(text), 498u);
}

TEST(TextUtil, PathsAndTileNames)
{
    char out[TEXT_SIZE];
    UTIL_file_name_of_path(out, "AIRCRAFT:General:Plane.acf");
    EXPECT_STREQ(out, "Plane.acf");
    const std::tuple<int, int, const char*> tiles[] = {
        {34, -118, "+30-120\\+34-118.env"}, {-5, 7, "-10+000\\-05+007.env"}, {0, 0, "+00+000\\+00+000.env"}};
    for (auto [lat, lon, name] : tiles) {
        ENV_tile_file_name(lat, lon, out);
        EXPECT_STREQ(out, name);
    }

    std::strcpy(custom_scenery_folder, "CUSTOM SCENERY:Area:");
    char short_name[TEXT_SIZE] = "hangar";
    char full[TEXT_SIZE];
    get_custom_file(5, short_name, full, 1);
    EXPECT_STREQ(full, "CUSTOM SCENERY:Area:custom objects:hangar.obj");
    std::strcpy(full, "CUSTOM SCENERY:Area:custom terrain textures:grass.bmp");
    get_custom_file(18, short_name, full, 0);
    EXPECT_STREQ(short_name, "grass");
    std::strcpy(full, "short");   // shorter than the folder: no name, no read before the text
    get_custom_file(18, short_name, full, 0);
    EXPECT_STREQ(short_name, "");
    alert_record a = expect_fatal([&] { get_custom_file(6, short_name, full, 0); });
    EXPECT_EQ(a.lines[0], "Bad get_custom_file type!");
    custom_scenery_folder[0] = 0;
}

namespace {
double ten_days_and_a_millisecond() { return 864000.001; }
}  // namespace

TEST(TextUtil, SecondsCountFromProgramStartWithoutLosingMilliseconds)
{
    // The monotonic clock counts from the program's start, not from the machine's.
    const double first = UTIL_seconds();
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 3600.0);
    EXPECT_GE(UTIL_seconds(), first);
    // After days of running a millisecond still shows.
    PLAT_set_clock_source(ten_days_and_a_millisecond, nullptr);
    const double later = UTIL_seconds();
    PLAT_set_clock_source(nullptr, nullptr);
    EXPECT_NEAR(later - 864000.0, 0.001, 1e-6);
}

