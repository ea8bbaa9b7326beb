#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "graphics/font.h"
#include "shell/alert.h"
#include "shell/folders.h"
#include "shell/menus.h"
#include "shell/screen.h"
#include "shell/simvars.h"
#include "tests/support/test_support.h"

namespace {

// A menus folder of the test's own with english:ORVELL.TXT holding `body`
// after the header and the free title line.
class menu_file_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::strcpy(saved_menus_folder, folder_table[FOLDER_MENUS]);
        std::snprintf(folder_table[FOLDER_MENUS], TEXT_SIZE, "%s/", dir.path().c_str());
        sim_operation_prefs_misc.language = 0;
        screen.ui_top_margin = 0.0f;
    }
    void TearDown() override { std::strcpy(folder_table[FOLDER_MENUS], saved_menus_folder); }

    void build(const std::string& body)
    {
        dir.write("english/ORVELL.TXT", "I\n1 version\nTEST MENUS\n" + body);
        MACIBM_build_menus("ORVELL.TXT");
    }
    std::string menu_path() const { return dir.prefix() + "english:ORVELL.TXT"; }

    temp_folder dir;
    char saved_menus_folder[TEXT_SIZE] = {};
};

float title_width(const char* t) { return static_cast<float>(OGL_string_width(t)) + 20.0f; }

}  // namespace

TEST_F(menu_file_test, BarTitlesItemsSeparatorsAndSubmenusLayOutFromTheFile)
{
    screen.ui_top_margin = 32.0f;
    build("0 File\n100 Open\n0 -\n0 =hidden\n101 Close\n\n"
          "x Edit\n200 Cut\n\n"
          "3 More\n300 First\n\n");
    EXPECT_TRUE(recorded_alerts.empty());

    const menu_record& file = menu_table[0];
    EXPECT_STREQ(file.title, "File");
    EXPECT_EQ(file.parent, -1);
    EXPECT_FLOAT_EQ(file.left, 10.0f);
    EXPECT_FLOAT_EQ(file.right, 10.0f + title_width("File"));
    EXPECT_FLOAT_EQ(file.bottom, 782.0f);
    EXPECT_FLOAT_EQ(file.top, 800.0f);

    // A number that is not a number makes a bar menu too; it starts where "File" ends.
    EXPECT_EQ(menu_table[1].parent, -1);
    EXPECT_STREQ(menu_table[1].title, "Edit");
    EXPECT_FLOAT_EQ(menu_table[1].left, file.right);
    EXPECT_EQ(menu_table[1].items[0].command, 200);

    // Column width: the widest item ("=hidden", 7 x 7 + 35); rows 12 high,
    // separators 2, '=' items 0.
    const menu_item_record* it = file.items;
    EXPECT_EQ(it[0].command, 100);
    EXPECT_FLOAT_EQ(it[0].top, 782.0f);
    EXPECT_FLOAT_EQ(it[0].bottom, 770.0f);
    EXPECT_FLOAT_EQ(it[0].left, 10.0f);
    EXPECT_FLOAT_EQ(it[0].right, 10.0f + 84.0f);
    EXPECT_FLOAT_EQ(it[1].bottom, 768.0f);
    EXPECT_FLOAT_EQ(it[2].top, 768.0f);
    EXPECT_FLOAT_EQ(it[2].bottom, 768.0f);
    EXPECT_FLOAT_EQ(it[3].top, 768.0f);
    EXPECT_FLOAT_EQ(it[3].bottom, 756.0f);
    EXPECT_FLOAT_EQ(it[4].left, MENU_UNSET);   // no item

    // "3 More": the submenu opened by item 3 of menu 0 lies over that item.
    const menu_record& more = menu_table[2];
    EXPECT_EQ(more.parent, 0);
    EXPECT_FLOAT_EQ(more.left, it[3].left);
    EXPECT_FLOAT_EQ(more.bottom, it[3].bottom);
    EXPECT_FLOAT_EQ(more.top, it[3].top);
    EXPECT_FLOAT_EQ(more.items[0].top, it[3].top);   // a submenu's first item takes the opener's row
    EXPECT_FLOAT_EQ(menu_table[3].left, MENU_UNSET);
}

TEST_F(menu_file_test, TwoEmptyLinesOrTheEndOfTheFileEndTheMenus)
{
    build("0 A\n1 a\n\n\n0 B\n2 b\n\n");
    EXPECT_STREQ(menu_table[0].title, "A");
    EXPECT_EQ(menu_table[1].title[0], 0);

    build("0 A\n1 a\n\n0 B\n2 b");   // no empty line after the last item
    EXPECT_STREQ(menu_table[1].title, "B");
    EXPECT_STREQ(menu_table[1].items[0].text, "b");
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(menu_file_test, BadMenuFilesStopWithAnAlertNamingTheFile)
{
    // Missing file.
    sim_operation_prefs_misc.language = 2;
    alert_record a = expect_fatal([&] { MACIBM_build_menus("ORVELL.TXT"); });
    EXPECT_EQ(a.lines[0], "Cannot open file!");
    EXPECT_NE(a.lines[1].find("german"), std::string::npos);
    sim_operation_prefs_misc.language = 0;

    // A parent item outside the menu table, or in a menu not read yet.
    a = expect_fatal([&] { build("0 A\n1 a\n\n999999 Sub\n\n"); });
    EXPECT_EQ(a.lines[3], menu_path());
    a = expect_fatal([&] { build("0 A\n1 a\n\n1000 Sub\n\n"); });
    EXPECT_EQ(a.lines[3], menu_path());
    a = expect_fatal([&] { build("0 A\n1 a\n\n5 Sub\n\n"); });   // item 5 of menu 0 does not exist
    EXPECT_EQ(a.lines[3], menu_path());

    // More than 200 items, more than 1020 menus, a line without text.
    std::string items = "0 A\n";
    for (int i = 0; i < 201; ++i) items += "1 x\n";
    a = expect_fatal([&] { build(items); });
    EXPECT_EQ(a.lines[3], menu_path());
    std::string menus;
    for (int m = 0; m < 1021; ++m) menus += "0 M\n\n";
    a = expect_fatal([&] { build(menus); });
    EXPECT_EQ(a.lines[3], menu_path());
    a = expect_fatal([&] { build("0 A\n100\n\n"); });
    EXPECT_EQ(a.lines[3], menu_path());

    // Too long an item text.
    a = expect_fatal([&] { build("0 A\n1 " + std::string(40, 'x') + "\n\n"); });
    EXPECT_EQ(a.lines[1], std::string(40, 'x'));
    EXPECT_EQ(a.lines[3], menu_path());
}

TEST(menus, ItemLimitsSubmenuOfAnyItemColumnWrapAndRightEdgeShift)
{
    sim_operation_prefs_misc.language = 0;
    screen.ui_top_margin = 0.0f;
    MENUS_reset();

    // Item text of 39 bytes is taken, 40 is fatal; so are bad indices.
    append_menu(3, 0, 1, std::string(39, 'y').c_str(), 0);
    EXPECT_EQ(std::strlen(menu_table[3].items[0].text), 39u);
    expect_fatal([] { append_menu(3, 1, 1, std::string(40, 'y').c_str(), 0); });
    expect_fatal([] { append_menu(1020, 0, 1, "x", 0); });
    expect_fatal([] { append_menu(3, 200, 1, "x", 0); });
    expect_fatal([] { MACIBM_create_menu(3, 0, std::string(40, 't').c_str()); });
    MACIBM_create_menu(4, -1, "Bar");
    EXPECT_EQ(menu_table[4].parent, -1);

    // 1605: the submenu of item 5 of menu 8.
    for (int i = 0; i <= 5; ++i) append_menu(8, i, i, "entry", 0);
    MACIBM_create_menu(9, 1605, "Sub");
    EXPECT_EQ(menu_table[9].parent, 8);
    EXPECT_FLOAT_EQ(menu_table[9].bottom, menu_table[8].items[5].bottom);
    EXPECT_FLOAT_EQ(menu_table[9].right, menu_table[8].items[5].right);

    // A bar menu of 60 rows starts a second column once a top falls below 45.
    MACIBM_create_menu(0, 0, "Long");
    for (int i = 0; i < 60; ++i) append_menu(0, i, i, "Item", 0);
    const menu_item_record* it = menu_table[0].items;
    const float w = 4 * 7 + 35;
    EXPECT_FLOAT_EQ(it[58].top, 750.0f - 12.0f * 58);
    EXPECT_FLOAT_EQ(it[58].left, 10.0f);
    EXPECT_FLOAT_EQ(it[59].left, 10.0f + w);
    EXPECT_FLOAT_EQ(it[59].top, it[0].top);
    EXPECT_FLOAT_EQ(it[59].bottom, it[0].bottom);

    // A menu whose widest item would end at 1100 moves 76 units left as a whole.
    menu_bar_cursor = 1030.0f;
    MACIBM_create_menu(5, 0, "Far");
    append_menu(5, 0, 1, "Abcde", 0);   // 5 x 7 + 35 = 70 wide
    append_menu(5, 1, 2, "Ab", 0);
    EXPECT_FLOAT_EQ(menu_table[5].items[0].left, 1030.0f - 76.0f);
    EXPECT_FLOAT_EQ(menu_table[5].items[0].right, 1024.0f);
    EXPECT_FLOAT_EQ(menu_table[5].items[1].left, 1030.0f - 76.0f);
    EXPECT_FLOAT_EQ(menu_table[5].left, 1030.0f);   // the title stays where it is
}

TEST(menus, TheEnglishMenuFileOfTheDataFolderReadsCleanly)
{
    char saved[TEXT_SIZE];
    std::strcpy(saved, folder_table[FOLDER_MENUS]);
    const auto source = std::filesystem::canonical(std::filesystem::path(fixture_path("")) / ".." / ".." / "data");
    std::snprintf(folder_table[FOLDER_MENUS], TEXT_SIZE, "%s/menus/", source.c_str());
    sim_operation_prefs_misc.language = 0;
    MACIBM_build_menus("ORVELL.TXT");
    std::strcpy(folder_table[FOLDER_MENUS], saved);

    EXPECT_TRUE(recorded_alerts.empty());
    for (int m = 0; m <= 4; ++m) EXPECT_EQ(menu_table[m].parent, -1) << m;
    // Menus 7 to 13 are the airport-map, start and navaid menus the scene build fills.
    for (int m = 5; m <= 13; ++m) {
        EXPECT_NE(menu_table[m].parent, -1) << m;
        EXPECT_NE(menu_table[m].left, MENU_UNSET) << m;
    }
    bool has_quit = false;
    for (const menu_item_record& it : menu_table[0].items) has_quit = has_quit || it.command == 208;
    EXPECT_TRUE(has_quit);
}
