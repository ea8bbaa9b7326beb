// Numbers have one home: unit factors live in core/units.h, angle wraps in
// core/numeric.h and sound slot numbers in core/sound_slots.h. These tests
// read the source tree and fail on a file outside core/ that defines a unit
// factor or a sound slot of its own or turns an angle by whole turns by hand,
// naming each place found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The source tree: the fixtures folder is tests/fixtures.
fs::path source_root() { return fs::path(ORVELL_FIXTURES).parent_path().parent_path(); }

// The program's sources outside core/: every folder but core/, the tests, the
// data texts and build trees.
std::vector<fs::path> program_sources()
{
    std::vector<fs::path> files;
    const std::set<std::string> skipped = {"core", "tests", "data", ".git", ".ci"};
    for (const fs::directory_entry& top : fs::directory_iterator(source_root())) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || skipped.count(name) || name.rfind("build", 0) == 0) continue;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(top.path())) {
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(e.path());
        }
    }
    return files;
}

// A text with comments and the contents of string and character literals
// blanked, line breaks kept so line numbers still hold.
std::string code_of_text(const std::string& s)
{
    std::string out(s.size(), ' ');
    enum { CODE, LINE_COMMENT, BLOCK_COMMENT, STRING, CHAR } state = CODE;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i], next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (c == '\n') out[i] = '\n';
        switch (state) {
        case CODE:
            if (c == '/' && next == '/') state = LINE_COMMENT;
            else if (c == '/' && next == '*') state = BLOCK_COMMENT, ++i;
            else if (c == '"') state = STRING, out[i] = c;
            else if (c == '\'') state = CHAR, out[i] = c;
            else out[i] = c;
            break;
        case LINE_COMMENT:
            if (c == '\n') state = CODE;
            break;
        case BLOCK_COMMENT:
            if (c == '*' && next == '/') state = CODE, ++i;
            break;
        case STRING:
        case CHAR:
            if (c == '\\') ++i;
            else if (c == (state == STRING ? '"' : '\'')) state = CODE, out[i] = c;
            break;
        }
    }
    return out;
}

std::string code_of(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return code_of_text(ss.str());
}

int line_at(const std::string& text, size_t pos) { return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(pos), '\n')); }

// ---- unit factors ----

// The unit words of names, each with its kind of quantity.
const std::map<std::string, std::string>& unit_words()
{
    static const std::map<std::string, std::string> words = [] {
        std::map<std::string, std::string> w;
        for (const char* u : {"M", "METRE", "METRES", "METER", "METERS", "MTRS", "FT", "FEET", "FOOT", "NM", "KM", "SM", "MILE", "MILES"})
            w[u] = "length";
        for (const char* u : {"MPS", "KT", "KTS", "KNOT", "KNOTS", "FPS", "FPM", "MPH", "KMH", "KPH"}) w[u] = "speed";
        for (const char* u : {"DEG", "DEGREE", "DEGREES", "RAD", "RADIAN", "RADIANS"}) w[u] = "angle";
        for (const char* u : {"RPM", "RADPS"}) w[u] = "turn rate";
        for (const char* u : {"S", "SEC", "SECOND", "SECONDS", "MIN", "MINUTE", "MINUTES", "HOUR", "HOURS", "HR", "DAY", "DAYS"})
            w[u] = "time";
        for (const char* u : {"KG", "KGS", "LB", "LBS", "TON", "TONS", "TONNE"}) w[u] = "mass";
        for (const char* u : {"N", "LBF"}) w[u] = "force";
        for (const char* u : {"PA", "HPA", "INHG", "MB", "MBAR", "MILLIBAR", "PSF"}) w[u] = "pressure";
        for (const char* u : {"W", "WATT", "WATTS", "HP"}) w[u] = "power";
        w["FTLB"] = "torque";
        return w;
    }();
    return words;
}

std::string kind_of(const std::string& word)
{
    const auto it = unit_words().find(word);
    return it == unit_words().end() ? std::string() : it->second;
}

std::vector<std::string> words_of(std::string name)
{
    // Units written in two words count as one.
    for (const auto& [two, one] : std::vector<std::pair<std::string, std::string>>{
             {"RAD_PER_SEC", "RADPS"}, {"RAD_S", "RADPS"}, {"STATUTE_MPH", "MPH"}, {"SHORT_TON", "TON"}}) {
        for (size_t at = name.find(two); at != std::string::npos; at = name.find(two, at + one.size()))
            name.replace(at, two.size(), one);
    }
    std::vector<std::string> words;
    std::stringstream ss(name);
    for (std::string w; std::getline(ss, w, '_');) words.push_back(w);
    return words;
}

// A name of unit-factor form: one unit TO another, or a unit PER a unit of
// the same kind (or a length per degree).
bool is_factor_name(const std::string& name)
{
    const std::vector<std::string> w = words_of(name);
    for (size_t i = 1; i + 1 < w.size(); ++i) {
        const std::string a = kind_of(w[i - 1]), b = kind_of(w[i + 1]);
        if (a.empty() || b.empty()) continue;
        if (w[i] == "TO") return true;
        if (w[i] == "PER" && (a == b || (a == "length" && b == "angle"))) return true;
    }
    return false;
}

// A unit's short form as a whole name (DEG, FT, KGLB, FOOT_M): a factor
// when its value is written out with a number, an alias when it names the
// shared one. Single letters and durations (DAY_SEC) are other things.
bool is_unit_name(const std::string& name)
{
    const auto short_unit = [](const std::string& w) {
        const std::string k = kind_of(w);
        return w.size() >= 2 && !k.empty() && k != "time" && w != "DEGREE" && w != "DEGREES";
    };
    const std::vector<std::string> w = words_of(name);
    if (w.size() == 2) return !kind_of(w[0]).empty() && kind_of(w[0]) == kind_of(w[1]) && kind_of(w[0]) != "time";
    if (w.size() != 1) return false;
    if (short_unit(w[0])) return true;
    for (size_t cut = 2; cut + 2 <= w[0].size(); ++cut)
        if (short_unit(w[0].substr(0, cut)) && short_unit(w[0].substr(cut))) return true;
    return false;
}

// Every upper-case constant declared in a text, with its initializer: a
// declaration may name several, separated by commas.
struct constant {
    std::string name, value;
    size_t pos;
};
std::vector<constant> constants_of(const std::string& code)
{
    std::vector<constant> found;
    static const std::regex decl(R"(\b(?:constexpr|const)\s+(?:static\s+)?(?:float|double|int|long|auto)\s+([A-Z][A-Z0-9_]*)\s*=)");
    for (size_t start = 0; start < code.size();) {
        size_t stop = code.find('\n', start);
        if (stop == std::string::npos) stop = code.size();
        const size_t line = start;
        start = stop + 1;
        if (code.find("const", line) >= stop) continue;
        std::smatch it;
        const std::string text = code.substr(line, stop - line);
        if (!std::regex_search(text, it, decl)) continue;
        size_t pos = line + static_cast<size_t>(it.position(0));
        std::string name = it[1];
        size_t i = pos + static_cast<size_t>(it.length(0));
        while (true) {
            // The initializer runs to a comma or semicolon outside brackets.
            int depth = 0;
            const size_t from = i;
            for (; i < code.size(); ++i) {
                const char c = code[i];
                if (c == '(' || c == '{' || c == '[') ++depth;
                else if (c == ')' || c == '}' || c == ']') --depth;
                else if ((c == ',' || c == ';') && depth == 0) break;
            }
            found.push_back({name, code.substr(from, i - from), pos});
            if (i >= code.size() || code[i] == ';') break;
            static const std::regex more(R"(^,\s*([A-Z][A-Z0-9_]*)\s*=)");
            std::smatch m;
            const std::string rest = code.substr(i, 80);
            if (!std::regex_search(rest, m, more)) break;
            name = m[1];
            pos = i;
            i += static_cast<size_t>(m.length(0));
        }
    }
    return found;
}

std::vector<std::string> private_unit_factors(const fs::path& file, const std::string& code)
{
    std::vector<std::string> found;
    static const std::regex number(R"((^|[^\w.])\d+(\.\d*)?([eE][-+]?\d+)?f?\b)");
    for (const constant& c : constants_of(code)) {
        const bool copy = std::regex_search(c.value, number);
        if (is_factor_name(c.name) || (copy && is_unit_name(c.name)))
            found.push_back(file.string() + ":" + std::to_string(line_at(code, c.pos)) + " " + c.name + " =" + c.value);
    }
    return found;
}

// ---- angle wraps ----

// A divisor or step of a whole or half turn: 360, 180, 720 degrees or 2 pi.
bool is_turn(std::string s)
{
    static const std::regex degrees(R"(^\(?\s*(360|180|720)(\.0*)?f?\s*\)?$)");
    static const std::regex two_pi(R"(TWO_PI|DOUBLE_PI|\b2(\.0*)?f?\s*\*\s*\(?\s*(M_PI|PI\w*|3\.14\d*f?)|6\.283\d*)");
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.erase(s.begin());
    return std::regex_match(s, degrees) || std::regex_search(s, two_pi);
}

// Where a whole word starts in a text, from a position on.
size_t find_word(const std::string& code, const std::string& word, size_t from)
{
    for (size_t at = code.find(word, from); at != std::string::npos; at = code.find(word, at + 1)) {
        const bool start = at == 0 || !(std::isalnum(static_cast<unsigned char>(code[at - 1])) || code[at - 1] == '_');
        if (start) return at;
    }
    return std::string::npos;
}

std::vector<std::string> private_angle_wraps(const fs::path& file, const std::string& code)
{
    std::vector<std::string> found;
    // A remainder by a turn: the second argument of fmod or remainder.
    for (const char* fn : {"fmod", "remainder"}) {
        for (size_t at = find_word(code, fn, 0); at != std::string::npos; at = find_word(code, fn, at + 1)) {
            size_t i = at + std::string(fn).size();
            if (i < code.size() && code[i] == 'f') ++i;
            while (i < code.size() && std::isspace(static_cast<unsigned char>(code[i]))) ++i;
            if (i >= code.size() || code[i] != '(') continue;
            int depth = 0;
            size_t comma = std::string::npos;
            for (; i < code.size(); ++i) {
                const char c = code[i];
                if (c == '(') ++depth;
                else if (c == ')' && --depth == 0) break;
                else if (c == ',' && depth == 1) comma = i;
            }
            if (comma != std::string::npos && i < code.size() && is_turn(code.substr(comma + 1, i - comma - 1)))
                found.push_back(file.string() + ":" + std::to_string(line_at(code, at)) + " " +
                                code.substr(at, i + 1 - at));
        }
    }
    // A loop that adds or takes away whole turns.
    static const std::regex loop(R"(^while\s*\(([^;{]*)\)\s*[\w\[\].>-]+\s*[-+]=\s*([^;]+)$)");
    for (size_t at = find_word(code, "while", 0); at != std::string::npos; at = find_word(code, "while", at + 1)) {
        const size_t end = code.find(';', at);
        if (end == std::string::npos) break;
        const std::string statement = code.substr(at, end - at);
        std::smatch m;
        if (std::regex_match(statement, m, loop) && is_turn(m[2]))
            found.push_back(file.string() + ":" + std::to_string(line_at(code, at)) + " " + statement);
    }
    return found;
}

// ---- sound slots ----

// A sound slot named with its number written out: "constexpr int SOUND_... = 22;".
std::vector<std::string> private_sound_slots(const fs::path& file, const std::string& code)
{
    static const std::regex slot(R"(constexpr\s+(?:int|int32_t)\s+(SOUND_\w+)\s*=\s*\d+\s*;)");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(code.begin(), code.end(), slot); it != std::sregex_iterator(); ++it)
        found.push_back(file.string() + ":" + std::to_string(line_at(code, static_cast<size_t>(it->position()))) +
                        " " + (*it)[1].str());
    return found;
}

std::string listed(const std::vector<std::string>& places)
{
    std::string s;
    for (const std::string& p : places) s += "\n  " + p;
    return s;
}

}  // namespace

TEST(NumbersHome, TheRulesKnowAFactorAndAWrapWhenTheySeeOne)
{
    // Unit factors by their form, counts and rates by theirs.
    for (const char* n : {"MPS_TO_KT", "FEET_PER_METRE", "ATC_FT_PER_M", "RAD_TO_DEG", "METRES_PER_DEGREE",
                          "KG_TO_LB", "RAD_S_TO_RPM", "RAD_PER_SEC_TO_RPM", "KNOTS_TO_STATUTE_MPH",
                          "KG_PER_SHORT_TON", "SECONDS_PER_HOUR", "FEET_PER_METRE_HUD"})
        EXPECT_TRUE(is_factor_name(n)) << n;
    for (const char* n : {"ELEMENTS_PER_PART", "DATA_ROWS_PER_DATAGRAM", "STARS_PER_LIST", "CAR_TURN_DEG_PER_SEC",
                          "MOVIE_FRAMES_PER_SEC", "METRES_TO_REPEATS", "REPLAY_TO_START", "TIME_TO_GO_MAX_SEC",
                          "FADE_PER_M", "ROLL_HOLD_PER_DEG", "COMMAND_DATA_TO_FILE"})
        EXPECT_FALSE(is_factor_name(n)) << n;
    for (const char* n : {"DEG", "FT", "KGLB", "FOOT_M", "NM", "INHG"}) EXPECT_TRUE(is_unit_name(n)) << n;
    for (const char* n : {"HOURS_LEFT", "GRAVITY", "SPAN_M", "NEAR_M"}) EXPECT_FALSE(is_unit_name(n)) << n;

    // A copy written out, an alias of the shared value, several on one line.
    const std::string code = "constexpr float KT = 1.9438444f;\n"
                             "constexpr float FT = UNIT.mtrs_to_ft;\n"
                             "constexpr float A_M = 2.0f, FEET_PER_M = 3.2808f, B = 1;\n";
    const std::vector<std::string> factors = private_unit_factors("f.cpp", code_of_text(code));
    ASSERT_EQ(factors.size(), 2u) << listed(factors);
    EXPECT_NE(factors[0].find("f.cpp:1 KT"), std::string::npos);
    EXPECT_NE(factors[1].find("f.cpp:3 FEET_PER_M"), std::string::npos);

    // Wraps by a remainder or by loops of whole turns; other remainders and
    // the words in comments and texts are left alone.
    const std::string wraps = "a = std::fmod(a, 360.0f);\n"
                              "p = std::remainder(p, TWO_PI_DOUBLE);\n"
                              "while (h < 0.0f) h += 360.0f;\n"
                              "t = std::fmod(t, 86400.0f);   // fmod(x, 360)\n"
                              "s = \"fmod(x, 360)\"; n = std::fmod(std::trunc(v), 2.0f);\n"
                              "d = std::remainder(x, 2.0 * M_PI);\n";
    const std::vector<std::string> turned = private_angle_wraps("w.cpp", code_of_text(wraps));
    EXPECT_EQ(turned.size(), 4u) << listed(turned);

    // A sound slot by its number; gains and the names in comments are other things.
    const std::string sounds = "constexpr int SOUND_HORN = 22;\n"
                               "constexpr float SOUND_GAIN = 1.0f;   // constexpr int SOUND_X = 1;\n"
                               "constexpr int SOUND_TCAS = SOUND_FIRST + 3;\n";
    const std::vector<std::string> slots = private_sound_slots("s.cpp", code_of_text(sounds));
    ASSERT_EQ(slots.size(), 1u) << listed(slots);
    EXPECT_EQ(slots[0], "s.cpp:1 SOUND_HORN");
}

TEST(NumbersHome, NoFileOutsideCoreKeepsAUnitFactorOrAnAngleWrapOfItsOwn)
{
    const std::vector<fs::path> files = program_sources();
    ASSERT_GT(files.size(), 100u) << "the source tree was not found at " << source_root();
    std::vector<std::string> factors, wraps;
    for (const fs::path& f : files) {
        const std::string code = code_of(f);
        const fs::path shown = fs::relative(f, source_root());
        for (const std::string& s : private_unit_factors(shown, code)) factors.push_back(s);
        for (const std::string& s : private_angle_wraps(shown, code)) wraps.push_back(s);
    }
    EXPECT_TRUE(factors.empty()) << "unit factors belong in core/units.h:" << listed(factors);
    EXPECT_TRUE(wraps.empty()) << "angle wraps belong in core/numeric.h:" << listed(wraps);
}

// The slots are named once: two names for one slot in two files, or one name
// with two numbers, would play the wrong sound. The slot table's own sizes
// stay in links/sound.h.
TEST(NumbersHome, SoundSlotsAreNumberedOnlyInCore)
{
    std::vector<std::string> slots;
    for (const fs::path& f : program_sources()) {
        const fs::path shown = fs::relative(f, source_root());
        if (shown == fs::path("links/sound.h")) continue;
        for (const std::string& s : private_sound_slots(shown, code_of(f))) slots.push_back(s);
    }
    EXPECT_TRUE(slots.empty()) << "sound slots belong in core/sound_slots.h:" << listed(slots);
}
