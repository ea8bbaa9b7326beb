#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <regex>
#include <string>

#include "platform/plat_time.h"
#include "shell/folders.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/text_util.h"
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
    EXPECT_EQ(UTIL_strcmp_nocase("abc", "abd"), 'c' - 'd');
    EXPECT_GT(UTIL_strcmp_nocase("abc", "ab"), 0);
    EXPECT_EQ(UTIL_str_contains("", "text"), 1);
    EXPECT_EQ(UTIL_str_contains("xt", "text"), 1);
    EXPECT_EQ(UTIL_str_contains("texts", "text"), 0);
    EXPECT_EQ(UTIL_str_contains("X", "text"), 0);

    unsigned char pascal[256];
    UTIL_c_to_pascal("hello", pascal);
    EXPECT_EQ(pascal[0], 5);
    EXPECT_EQ(std::memcmp(pascal + 1, "hello", 5), 0);
}

TEST(TextUtil, TextToIntWeighsEveryCharacterByItsPlace)
{
    EXPECT_EQ(UTIL_text_to_int("123"), 123);
    EXPECT_EQ(UTIL_text_to_int("007"), 7);
    EXPECT_EQ(UTIL_text_to_int("-5"), -5);
    EXPECT_EQ(UTIL_text_to_int("+5"), 15);
    EXPECT_EQ(UTIL_text_to_int("0-"), -1);
    EXPECT_EQ(UTIL_text_to_int(""), -1);
    EXPECT_EQ(UTIL_text_to_int("12a"), -1);
    EXPECT_EQ(UTIL_text_to_int("123456789"), 123456789);
    EXPECT_EQ(UTIL_text_to_int("1234567890"), -1);
}

TEST(TextUtil, IntToTextPadsToWidth)
{
    char out[16];
    UTIL_int_to_text(7, out, 3);
    EXPECT_STREQ(out, "007");
    UTIL_int_to_text(-42, out, 0);
    EXPECT_STREQ(out, "-42");
    UTIL_int_to_text(0, out, 0);
    EXPECT_STREQ(out, "0");
    UTIL_int_to_text(5, out, 2);
    EXPECT_STREQ(out, "05");
    UTIL_int_to_text(12345, out, 2);
    EXPECT_STREQ(out, "12345");
    UTIL_int_to_text(-2147483647 - 1, out, 0);
    EXPECT_STREQ(out, "-2147483648");
}

TEST(TextUtil, TextToFloatQuirks)
{
    EXPECT_FLOAT_EQ(UTIL_text_to_float("12.5"), 12.5f);
    EXPECT_FLOAT_EQ(UTIL_text_to_float("-0.25"), -0.25f);
    EXPECT_FLOAT_EQ(UTIL_text_to_float("1,5"), 15.0f);
    EXPECT_FLOAT_EQ(UTIL_text_to_float(""), 0.0f);
    EXPECT_FLOAT_EQ(UTIL_text_to_float("-3+4"), 34.0f);   // the last sign wins
    EXPECT_FLOAT_EQ(UTIL_text_to_float("1.5."), 0.15f);   // a later point counts as a decimal place
    // A 499-digit text neither overflows into NaN nor reads beyond the text.
    std::string digits(499, '9');
    EXPECT_TRUE(std::isinf(UTIL_text_to_float(digits.c_str())));
    digits[250] = '.';
    EXPECT_TRUE(std::isinf(UTIL_text_to_float(digits.c_str())));
}

TEST(TextUtil, NumberHelpers)
{
    EXPECT_EQ(UTIL_decimals_for_width(9.9f), 4);
    EXPECT_EQ(UTIL_decimals_for_width(10.0f), 3);
    EXPECT_EQ(UTIL_decimals_for_width(-12345.0f), 0);
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
    EXPECT_EQ(UTIL_char_to_glyph('a'), 1);
    EXPECT_EQ(UTIL_char_to_glyph('Z'), 36);
    EXPECT_EQ(UTIL_glyph_to_char(37), '-');
    EXPECT_EQ(UTIL_glyph_to_char(38), '0');
    EXPECT_EQ(UTIL_landuse_texture(120), 120);
    EXPECT_EQ(UTIL_landuse_texture(-3), 0);   // never an index before the table
}

TEST(TextUtil, PackNumberText)
{
    char text[TEXT_SIZE] = "200 5";
    UTIL_pack_number_text(text);
    EXPECT_EQ(std::string(text), std::string("\x02\x4a\x01\x06"));

    std::strcpy(text, "1234  9");   // a fourth character starts the next number
    UTIL_pack_number_text(text);
    EXPECT_EQ(std::string(text), std::string("\x01\x7c\x01\x05\x01\x0a"));

    std::strcpy(text, "-1 2");
    UTIL_pack_number_text(text);
    EXPECT_STREQ(text, "-1 2");

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
    ENV_tile_file_name(34, -118, out);
    EXPECT_STREQ(out, "+30-120\\+34-118.env");
    ENV_tile_file_name(-5, 7, out);
    EXPECT_STREQ(out, "-10+000\\-05+007.env");
    ENV_tile_file_name(0, 0, out);
    EXPECT_STREQ(out, "+00+000\\+00+000.env");

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

TEST(TextUtil, SplitRunwayCode)
{
    int hundreds[2], tens[2], units[2];
    APT_split_rwy_code(hundreds, tens, units, 452318);
    EXPECT_EQ(hundreds[0], 3);
    EXPECT_EQ(tens[0], 4);
    EXPECT_EQ(units[0], 1);
    EXPECT_EQ(hundreds[1], 2);
    EXPECT_EQ(tens[1], 0);
    EXPECT_EQ(units[1], 7);
    APT_split_rwy_code(hundreds, tens, units, 100);   // end 0 is all zero digits
    EXPECT_EQ(hundreds[0], 1);
    EXPECT_EQ(tens[0], 1);
    EXPECT_EQ(units[0], 1);
    EXPECT_EQ(hundreds[1], 0);
}

TEST(TextUtil, CrossNormalize)
{
    const float a[3] = {2, 0, 0}, b[3] = {0, 3, 0};
    float out[3];
    UTIL_cross_normalize(a, b, out);
    EXPECT_FLOAT_EQ(out[2], 1.0f);
    UTIL_cross_normalize(a, a, out);
    EXPECT_EQ(out[1], 1.0f);
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

TEST(TextUtil, TimeProbeWritesColumnsWhenFlying)
{
    temp_folder dir;
    const auto log_path = dir.path() / "ERROR.OUT";
    error_log.open(log_path, std::ios::out | std::ios::trunc);

    app_mode = 3;
    UTIL_time_probe("ignored", 1);
    app_mode = 0;
    interval_ticks[INTERVAL_ONE_SECOND] = 1;
    UTIL_time_probe("frame", 0);
    UTIL_time_probe("scene", 1);
    interval_ticks[INTERVAL_ONE_SECOND] = 0;
    const int64_t before = time_probe_previous;
    UTIL_time_probe("frame", 0);
    UTIL_time_probe("scene", 1);
    EXPECT_GE(time_probe_previous, before);
    error_log.close();

    const std::string log = read_file_bytes(log_path);
    const auto first_end = log.find('\n');
    ASSERT_NE(first_end, std::string::npos);
    EXPECT_EQ(log.substr(0, first_end + 1), "  frame   scene \n");
    const std::string times = log.substr(first_end + 1);
    EXPECT_TRUE(std::regex_match(times, std::regex("[ 0-9]{6}[0-9] [ 0-9]{6}[0-9] \n"))) << times;
}
