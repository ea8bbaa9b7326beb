#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "graphics/font.h"
#include "core/alert.h"
#include "core/folders.h"
#include "shell/menus.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "tests/support/test_support.h"

namespace {

// Left, right, bottom and top of a menu or an item, as one text.
std::string box(float left, float right, float bottom, float top)
{
    char s[96];
    std::snprintf(s, sizeof s, "%g %g %g %g", left, right, bottom, top);
    return s;
}
template <class R>
std::string box(const R& r)
{
    return box(r.left, r.right, r.bottom, r.top);
}

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

    temp_folder dir;
    char saved_menus_folder[TEXT_SIZE] = {};
};

}  // namespace

TEST_F(menu_file_test, BarTitlesItemsSeparatorsAndSubmenusLayOutFromTheFile)
{
    screen.ui_top_margin = 32.0f;
    build("0 File\n100 Open\n0 -\n0 =hidden\n101 Close\n\n"
          "x Edit\n200 Cut\n\n"
          "3 More\n300 First\n\n");
    EXPECT_TRUE(recorded_alerts.empty());

    // Titles span their text and 20 units, one after the other from 10.
    const menu_record& file = menu_table[0];
    EXPECT_STREQ(file.title, "File");
    EXPECT_EQ(file.parent, -1);
    EXPECT_EQ(box(file), box(10, 10 + static_cast<float>(OGL_string_width("File")) + 20, 782, 800));
    // A number that is not a number makes a bar menu too, starting where "File" ends.
    EXPECT_EQ(menu_table[1].parent, -1);
    EXPECT_STREQ(menu_table[1].title, "Edit");
    EXPECT_FLOAT_EQ(menu_table[1].left, file.right);
    EXPECT_EQ(menu_table[1].items[0].command, 200);

    // Column width: the widest item ("=hidden", 7 x 7 + 35); rows 12 high,
    // separators 2, '=' items 0.
    const menu_item_record* it = file.items;
    EXPECT_EQ(it[0].command, 100);
    EXPECT_EQ(box(it[0]), "10 94 770 782");
    EXPECT_EQ(box(it[1]), "10 94 768 770");
    EXPECT_EQ(box(it[2]), "10 94 768 768");
    EXPECT_EQ(box(it[3]), "10 94 756 768");
    EXPECT_FLOAT_EQ(it[4].left, MENU_UNSET);   // no item

    // "3 More": the submenu opened by item 3 of menu 0 lies over that item, its
    // first item in the opener's row.
    const menu_record& more = menu_table[2];
    EXPECT_EQ(more.parent, 0);
    EXPECT_EQ(box(more), box(it[3]));
    EXPECT_FLOAT_EQ(more.items[0].top, it[3].top);
    EXPECT_FLOAT_EQ(menu_table[3].left, MENU_UNSET);
}

TEST_F(menu_file_test, TwoEmptyLinesOrTheEndOfTheFileEndTheMenus)
{
    build("0 A\n1 a\n\n\n0 B\n2 b\n\n");
    EXPECT_STREQ(menu_table[0].title, "A");
    EXPECT_EQ(menu_table[1].title[0], 0);
    build("0 A\n1 a\n\n0 B\n2 b\n\n");   // the end of the file after the last menu's empty line
    EXPECT_STREQ(menu_table[1].items[0].text, "b");
    EXPECT_TRUE(recorded_alerts.empty());
    // A file that ends inside a menu (no empty line after its last item, a
    // line cut) or holds no menu was cut short: what it holds is read, and
    // one notice names it.
    for (const char* cut : {"0 A\n1 a\n\n0 B\n2 b", "0 A\n1 a\n\n0 B\n2 b\n", "0 A\n1 a\n\n0 B", ""}) {
        clear_alerts();
        build(cut);
        ASSERT_EQ(recorded_alerts.size(), 1u) << cut;
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts[0].lines[1], dir.prefix() + "english:ORVELL.TXT");
    }
    EXPECT_STREQ(menu_table[0].items[0].text, "");
}

TEST_F(menu_file_test, BadMenuFilesStopWithAnAlertNamingTheFile)
{
    sim_operation_prefs_misc.language = 2;   // no german menu file
    alert_record a = expect_fatal([&] { MACIBM_build_menus("ORVELL.TXT"); });
    EXPECT_EQ(a.lines[0], "Cannot open file!");
    EXPECT_NE(a.lines[1].find("german"), std::string::npos);
    sim_operation_prefs_misc.language = 0;
    dir.write("english/ORVELL.TXT", "\x9c\x01\xf3 random\n");   // there, but no menu file
    EXPECT_EQ(expect_fatal([&] { MACIBM_build_menus("ORVELL.TXT"); }).lines[0], "The menu file is damaged:");

    std::string items = "0 A\n", menus;
    for (int i = 0; i < 201; ++i) items += "1 x\n";
    for (int m = 0; m < 1021; ++m) menus += "0 M\n\n";
    const std::string bodies[] = {
        "0 A\n1 a\n\n999999 Sub\n\n",   // a parent outside the menu table
        items,                          // more than 200 items
        menus,                          // more than 1020 menus
        "0 A\n100\n\n",                 // a line without text
        "0 A\n1 " + std::string(40, 'x') + "\n\n",   // too long an item text, shown in the alert
    };
    for (const std::string& body : bodies) {
        a = expect_fatal([&] { build(body); });
        EXPECT_EQ(a.lines[3], dir.prefix() + "english:ORVELL.TXT") << body.substr(0, 40);
    }
    EXPECT_EQ(a.lines[1], std::string(40, 'x'));
}

// In Korean the file is read from its own folder and every title and item
// text is packed: each number n of up to three digits becomes the bytes
// n / 127 + 1 and n % 127 + 1.
TEST_F(menu_file_test, KoreanMenusPackTheirTextsAndAllowTitlesOfTwiceTheBytes)
{
    sim_operation_prefs_misc.language = 5;
    dir.write("korean/ORVELL.TXT", "I\n1 version\nTEST MENUS\n0 072\n100 065 200\n\n");
    MACIBM_build_menus("ORVELL.TXT");
    EXPECT_STREQ(menu_table[0].title, "\x01I");
    EXPECT_STREQ(menu_table[0].items[0].text, "\x01" "B\x02J");
    EXPECT_EQ(menu_table[0].items[0].korean_glyphs, 1);
    MACIBM_create_menu(3, 0, std::string(78, 't').c_str());   // 39 two-byte glyphs: taken (as far as the title holds)
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(menu_table[3].parent, -1);
    expect_fatal([] { MACIBM_create_menu(4, 0, std::string(80, 't').c_str()); });
    sim_operation_prefs_misc.language = 0;
}

TEST(menus, ItemLimitsSubmenuOfAnyItemColumnWrapAndRightEdgeShift)
{
    sim_operation_prefs_misc.language = 0;
    screen.ui_top_margin = 0.0f;
    MENUS_reset();

    // Item text of 39 bytes is taken, 40 is fatal; so are indices outside the table.
    append_menu(3, 0, 1, std::string(39, 'y').c_str(), 0);
    EXPECT_EQ(std::strlen(menu_table[3].items[0].text), 39u);
    expect_fatal([] { append_menu(3, 1, 1, std::string(40, 'y').c_str(), 0); });
    expect_fatal([] { append_menu(MENU_COUNT, 0, 1, "x", 0); });
    expect_fatal([] { append_menu(3, MENU_ITEMS, 1, "x", 0); });
    expect_fatal([] { MACIBM_create_menu(3, 0, std::string(40, 't').c_str()); });

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
    EXPECT_EQ(box(it[58]), "10 73 42 54");   // 4 x 7 + 35 wide, top 750 - 12 x 58
    EXPECT_EQ(box(it[59]), box(73, 136, it[0].bottom, it[0].top));

    // A menu whose widest item would end at 1100 moves 76 units left as a whole;
    // its title stays where it is.
    menu_bar_cursor = 1030.0f;
    MACIBM_create_menu(5, 0, "Far");
    append_menu(5, 0, 1, "Abcde", 0);   // 5 x 7 + 35 = 70 wide
    append_menu(5, 1, 2, "Ab", 0);
    EXPECT_FLOAT_EQ(menu_table[5].items[0].left, 954.0f);
    EXPECT_FLOAT_EQ(menu_table[5].items[0].right, 1024.0f);
    EXPECT_FLOAT_EQ(menu_table[5].items[1].left, 954.0f);
    EXPECT_FLOAT_EQ(menu_table[5].left, 1030.0f);

    // Menus from 20 on wrap only below 15: item 61 (top 18) stays, item 62 (top 6) moves over.
    MACIBM_create_menu(30, 0, "More");
    for (int i = 0; i < 63; ++i) append_menu(30, i, i, "Item", 0);
    const menu_item_record* more = menu_table[30].items;
    EXPECT_FLOAT_EQ(more[61].top, 18.0f);
    EXPECT_FLOAT_EQ(more[61].left, more[0].left);
    EXPECT_FLOAT_EQ(more[62].left, more[0].left + 63.0f);
    EXPECT_FLOAT_EQ(more[62].top, more[0].top);

    // Korean glyphs: rows 13 high and 13 units a character; a plain-text item
    // added after lays the whole menu out again with its own 12 and 7.
    sim_operation_prefs_misc.language = 5;
    MACIBM_create_menu(40, 0, "K");
    append_menu(40, 0, 1, "Ab", 0);
    const menu_item_record* k = menu_table[40].items;
    EXPECT_EQ(k[0].korean_glyphs, 1);
    EXPECT_FLOAT_EQ(k[0].top - k[0].bottom, 13.0f);
    EXPECT_FLOAT_EQ(k[0].right - k[0].left, 2.0f * 13.0f + 35.0f);
    append_menu(40, 1, 2, "Cd", 1);
    EXPECT_EQ(k[1].korean_glyphs, 0);
    EXPECT_FLOAT_EQ(k[0].top - k[0].bottom, 12.0f);
    EXPECT_FLOAT_EQ(k[1].right - k[1].left, 2.0f * 7.0f + 35.0f);
    EXPECT_FLOAT_EQ(k[1].top, k[0].bottom);
    sim_operation_prefs_misc.language = 0;
}

TEST(menus, LanguageFoldersResetParentsAndTheWrapLineOfMenu19And20)
{
    const std::pair<int, const char*> folders[] = {{0, "english:"}, {1, "french:"},  {2, "german:"},    {3, "italian:"},
                                                   {4, "spanish:"}, {5, "korean:"},  {6, "portugese:"}, {7, ""}, {-1, ""}};
    for (auto [language, folder] : folders) EXPECT_STREQ(MENU_language_folder(language), folder) << language;

    sim_operation_prefs_misc.language = 0;
    screen.ui_top_margin = 0.0f;
    MENUS_reset();
    // Item 59 of a bar menu has its top at 750 - 12 x 59 = 42: below 45 it
    // wraps in menu 19, above 15 it stays in menu 20.
    for (auto [m, wraps] : {std::pair{19, true}, std::pair{20, false}}) {
        menu_bar_cursor = 10.0f;
        MACIBM_create_menu(m, 0, "Wrap");
        for (int i = 0; i < 60; ++i) append_menu(m, i, i, "Item", 0);
        const menu_item_record* it = menu_table[m].items;
        EXPECT_FLOAT_EQ(it[59].left, wraps ? 73.0f : 10.0f) << m;
        EXPECT_FLOAT_EQ(it[59].top, wraps ? 750.0f : 42.0f) << m;
    }

    // A rebuild makes every menu a free bar slot again, submenus included.
    for (int i = 0; i <= 5; ++i) append_menu(8, i, i, "entry", 0);
    MACIBM_create_menu(9, 1605, "Sub");
    ASSERT_EQ(menu_table[9].parent, 8);
    MENUS_reset();
    EXPECT_EQ(menu_table[9].parent, -1);
}
