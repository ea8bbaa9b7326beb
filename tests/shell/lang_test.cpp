#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/folders.h"
#include "shell/lang.h"
#include "core/simvars/operation.h"
#include "tests/support/test_support.h"

namespace {

// A program folder with an English menu file and a texts file of our own; the
// logs are written in it too.
class LanguageTexts : public ::testing::Test {
protected:
    temp_folder tmp;
    std::filesystem::path kept_cwd = std::filesystem::current_path();
    void SetUp() override
    {
        std::filesystem::current_path(tmp.path());
        FOLDERS_open_logs();
        FOLDERS_init_from((tmp.prefix() + "orvell").c_str());
        sim_operation_prefs_misc.language = 0;
        tmp.write("Resources/menus/english/ORVELL.TXT", "I\n1 version\nno menus\n\n");
    }
    void TearDown() override
    {
        FOLDERS_close_logs();
        std::filesystem::current_path(kept_cwd);
    }
    void write_texts(const std::string& body) { tmp.write("Resources/text/english/ORVELL.TXT", "I\r\n1 version\r\n" + body); }
};

}  // namespace

TEST_F(LanguageTexts, ReadsNumberedTextsAndReportsTheLowestFreeIndex)
{
    write_texts("0 zero\r\n1\t  one with leading blanks\r\n2 two\r\n3 three\r\n4 four\r\n5 five\r\n7 seven\r\n"
                "820 Engine 1\r\n999 last\r\n-1\r\n");
    LANG_load_text(0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_STREQ(LANG_ui_text(1), "one with leading blanks");
    EXPECT_STREQ(LANG_ui_text(6), "");
    EXPECT_STREQ(LANG_text_at_820(0), "Engine 1");
    EXPECT_STREQ(LANG_text_at_820(179), "last");
    // Indices outside the table give the empty text, never a read outside it.
    EXPECT_STREQ(LANG_text_at_820(180), "");
    EXPECT_STREQ(LANG_ui_text(-1), "");
    error_log.flush();
    EXPECT_NE(read_file_bytes(tmp.path() / "ERROR.OUT").find("ORVELL.TXT LOWEST FREE TEXT INDEX=6\n\n"),
              std::string::npos);
    EXPECT_STREQ(default_start_airport, "KSBD");
    EXPECT_STREQ(default_aircraft_path, "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF");
    EXPECT_STREQ(default_aircraft_name, "ORVELL TRAINER.ACF");

    // A reload replaces every text; with every index used, in any order, the lowest free is 9999.
    std::string all;
    for (int i = 999; i >= 0; --i) all += std::to_string(i) + " text " + std::to_string(i) + "\n";
    write_texts(all + "-5\n");
    LANG_load_text(0);
    EXPECT_EQ(LANG_lowest_free_index(), 9999);
    EXPECT_STREQ(LANG_ui_text(500), "text 500");
    write_texts("3 new\n-1\n");
    LANG_load_text(0);
    EXPECT_STREQ(LANG_ui_text(3), "new");
    EXPECT_STREQ(LANG_ui_text(4), "");
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(LanguageTexts, MissingOrDefectiveFilesAreFatalAndNameTheFile)
{
    const std::string header = "I\n1 version\n";
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, ""},                                                      // no file
        {"", "I\n2 version\n1 one\n-1\n"},                                  // another version
        {"", "not a data file\n"},
        {"12 is empty", header + "12 -\n-1\n"},                             // a lone '-' counts as empty
        {"12 is empty", header + "12\n13 thirteen\n-1\n"},                  // nothing after the index
        {"5 is given twice", header + "5 five\n5 again\n-1\n"},
        {"more than 1000", header + "998 a\n999 b\n1000 c\n-1\n"},
        {"is damaged", header + "1 one\n2 two\n"},        // no negative index before the end
        {"is damaged", header + "1 one\nx two\n-1\n"},
        {"is damaged", header + "45 forty-five\n45"},     // cut inside the next line's index
        {"is damaged", header + "1 one\n2 tw"},           // cut inside a text
        {"is damaged", "\x9c\x01\xf3 random\n"},
    };
    for (const auto& [part, file] : cases) {
        if (part) tmp.write("Resources/text/english/ORVELL.TXT", file);
        const alert_record a = expect_fatal([] { LANG_load_text(0); });
        const std::string all = a.lines[0] + "|" + a.lines[1] + "|" + a.lines[2] + "|" + a.lines[3];
        EXPECT_NE(all.find(part ? part : ""), std::string::npos) << file << " -> " << all;
        EXPECT_NE(all.find("ORVELL.TXT"), std::string::npos) << file << " -> " << all;
        if (part && std::string(part) == "5 is given twice") {
            EXPECT_EQ(a.lines[1], "five");   // the text stored first
        }
    }
}

TEST_F(LanguageTexts, LanguageFolderFollowsTheLanguage)
{
    tmp.write("Resources/menus/german/ORVELL.TXT", "I\n1 version\nkeine Menues\n\n");
    tmp.write("Resources/text/german/ORVELL.TXT", "I\n1 version\n602 Gut\n-1\n");
    sim_operation_prefs_misc.language = 2;
    LANG_load_text(0);
    EXPECT_STREQ(LANG_ui_text(602), "Gut");
}
