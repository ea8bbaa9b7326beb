#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "shell/datafile.h"
#include "shell/folders.h"
#include "shell/lang.h"
#include "shell/simvars.h"
#include "tests/support/test_support.h"

namespace {

// A program folder with an English menu file and a texts file of our own; the
// logs are written in it too.
class LanguageTexts : public ::testing::Test {
protected:
    temp_folder tmp;
    std::filesystem::path kept_cwd;
    void SetUp() override
    {
        kept_cwd = std::filesystem::current_path();
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
    std::string error_out()
    {
        error_log.flush();
        return read_file_bytes(tmp.path() / "ERROR.OUT");
    }
};

}  // namespace

TEST_F(LanguageTexts, ReadsNumberedTextsAndReportsTheLowestFreeIndex)
{
    write_texts("0 zero\r\n1\t  one with leading blanks\r\n2 two\r\n3 three\r\n4 four\r\n5 five\r\n7 seven\r\n"
                "820 Engine 1\r\n999 last\r\n-1\r\n");
    LANG_load_text(0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_STREQ(LANG_ui_text(1), "one with leading blanks");
    EXPECT_STREQ(LANG_ui_text(7), "seven");
    EXPECT_STREQ(LANG_ui_text(6), "");
    EXPECT_STREQ(LANG_text_at_820(0), "Engine 1");
    EXPECT_STREQ(LANG_text_at_820(179), "last");
    // Indices outside the table give the empty text, never a read outside it.
    EXPECT_STREQ(LANG_text_at_820(180), "");
    EXPECT_STREQ(LANG_ui_text(-1), "");
    EXPECT_EQ(LANG_lowest_free_index(), 6);
    EXPECT_NE(error_out().find("ORVELL.TXT LOWEST FREE TEXT INDEX=6\n\n"), std::string::npos);

    EXPECT_STREQ(default_start_airport, "KSBD");
    EXPECT_STREQ(default_aircraft_path, "AIRCRAFT:HEAVY METAL:B747-400 UNITED:UNITED-AIR.ACF");
    EXPECT_STREQ(default_aircraft_name, "UNITED-AIR.ACF");
}

TEST_F(LanguageTexts, EveryIndexUsedReports9999)
{
    std::ostringstream body;
    for (int i = 999; i >= 0; --i) body << i << " text " << i << "\n";   // any order
    body << "-5\n";
    write_texts(body.str());
    LANG_load_text(0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(LANG_lowest_free_index(), 9999);
    EXPECT_STREQ(LANG_ui_text(500), "text 500");
}

TEST_F(LanguageTexts, ReloadReplacesEveryText)
{
    write_texts("3 old\n4 gone\n-1\n");
    LANG_load_text(0);
    write_texts("3 new\n-1\n");
    LANG_load_text(0);
    EXPECT_STREQ(LANG_ui_text(3), "new");
    EXPECT_STREQ(LANG_ui_text(4), "");
}

TEST_F(LanguageTexts, DefectsAreFatalAndNameTheFile)
{
    struct case_t {
        const char* body;
        const char* first_line_part;
    };
    const case_t cases[] = {
        {"12 -\n-1\n", "12 is empty"},                       // a lone '-' counts as empty
        {"12\n13 thirteen\n-1\n", "12 is empty"},            // nothing after the index
        {"5 five\n5 again\n-1\n", "5 is given twice"},
        {"998 a\n999 b\n1000 c\n-1\n", "more than 1000"},
        {"1 one\n2 two\n", "could not be read to its end"},   // no negative index before the end
        {"1 one\nx two\n-1\n", "could not be read to its end"},
    };
    for (const case_t& c : cases) {
        write_texts(c.body);
        clear_alerts();
        const alert_record a = expect_fatal([] { LANG_load_text(0); });
        const std::string all = a.lines[0] + "|" + a.lines[1] + "|" + a.lines[2] + "|" + a.lines[3];
        EXPECT_NE(all.find(c.first_line_part), std::string::npos) << c.body << " -> " << all;
        EXPECT_NE(all.find("ORVELL.TXT"), std::string::npos) << c.body << " -> " << all;
    }
    // The duplicate's alert shows the text stored first.
    write_texts("5 five\n5 again\n-1\n");
    const alert_record dup = expect_fatal([] { LANG_load_text(0); });
    EXPECT_EQ(dup.lines[1], "five");
}

TEST_F(LanguageTexts, MissingOrForeignFileIsFatal)
{
    const alert_record missing = expect_fatal([] { LANG_load_text(0); });
    EXPECT_NE(missing.lines[1].find("ORVELL.TXT"), std::string::npos);

    tmp.write("Resources/text/english/ORVELL.TXT", "I\n2 version\n1 one\n-1\n");   // another version
    const alert_record version = expect_fatal([] { LANG_load_text(0); });
    EXPECT_NE((version.lines[1] + version.lines[3]).find("ORVELL.TXT"), std::string::npos);

    tmp.write("Resources/text/english/ORVELL.TXT", "not a data file\n");
    const alert_record foreign = expect_fatal([] { LANG_load_text(0); });
    EXPECT_NE(foreign.lines[1].find("ORVELL.TXT"), std::string::npos);
}

TEST_F(LanguageTexts, LanguageFolderFollowsTheLanguage)
{
    tmp.write("Resources/menus/german/ORVELL.TXT", "I\n1 version\nkeine Menues\n\n");
    tmp.write("Resources/text/german/ORVELL.TXT", "I\n1 version\n602 Gut\n-1\n");
    sim_operation_prefs_misc.language = 2;
    LANG_load_text(0);
    EXPECT_STREQ(LANG_ui_text(602), "Gut");
}
