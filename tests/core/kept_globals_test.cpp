// Every mutable global of core/, the simulation, the drawing and the links
// goes back to rest through the reset registry, or stands on the written list
// beside this file with its reason: read off the source tree. A variable at
// namespace scope (named or anonymous namespace, static or not) that is not
// const counts; it is registered when a reset registered in the same file
// names it, or when it is the record of an ORVELL_RESET_RECORD line.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// A namespace of its own: the test sources of a folder are compiled together.
namespace kept_globals_reader {

namespace fs = std::filesystem;

const fs::path source_root = fs::path(ORVELL_FIXTURES).parent_path().parent_path();

struct token {
    std::string text;   // a word, a literal's quote, or one punctuation character
    int line;
};
using tokens = std::vector<token>;

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool is_word(const token& t) { return word_char(t.text[0]); }

// The code's tokens: comments and preprocessor lines left out, a string or
// character literal kept as its quote.
tokens tokens_of(const std::string& s)
{
    tokens out;
    int line = 1;
    bool line_start = true;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i], next = i + 1 < s.size() ? s[i + 1] : '\0';
        const bool at_start = line_start;
        line_start = c == '\n' || (line_start && (c == ' ' || c == '\t'));
        if (c == '\n') {
            ++line;
        } else if (c == '/' && next == '/') {
            i = s.find('\n', i) - 1;
        } else if (c == '/' && next == '*') {
            const size_t end = s.find("*/", i + 2);
            line += static_cast<int>(std::count(s.begin() + static_cast<long>(i), s.begin() + static_cast<long>(end), '\n'));
            i = end + 1;
        } else if (c == '#' && at_start) {   // a directive, with its continued lines
            while (i < s.size() && (s[i] != '\n' || s[i - 1] == '\\')) line += s[i++] == '\n';
            --i;
        } else if (c == '"' || c == '\'') {
            out.push_back({std::string(1, c), line});
            for (++i; i < s.size() && s[i] != c; ++i) i += s[i] == '\\';
        } else if (word_char(c)) {
            size_t end = i;
            while (end < s.size() && (word_char(s[end]) || (s[end] == '\'' && std::isdigit(static_cast<unsigned char>(c)))))
                ++end;
            out.push_back({s.substr(i, end - i), line});
            i = end - 1;
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            out.push_back({std::string(1, c), line});
        }
    }
    return out;
}

int depth_step(const std::string& t)
{
    return (t == "(" || t == "[" || t == "{" || t == "<") - (t == ")" || t == "]" || t == "}" || t == ">");
}

bool has(const tokens& ts, const std::string& text)
{
    for (const token& t : ts)
        if (t.text == text) return true;
    return false;
}

// The mutable variables one namespace-scope statement defines.
std::vector<std::string> mutable_names(const tokens& statement)
{
    static const std::set<std::string> skipped = {"using",  "typedef",   "template", "static_assert", "friend", "extern",
                                                  "namespace", "enum", "ORVELL_RESET", "ORVELL_RESET_RECORD"};
    tokens s;
    for (size_t k = 0; k < statement.size(); ++k) {
        const std::string& t = statement[k].text;
        if (t == "alignas") {   // left out with its parentheses
            while (statement[k].text != ")") ++k;
        } else if ((t == "struct" || t == "class" || t == "union") && has(statement, "}")) {
            while (statement[k].text != "{") ++k;   // a record type defined here stands for its name
            for (int depth = 1; depth > 0;) {
                const std::string& inner = statement[++k].text;
                depth += (inner == "{") - (inner == "}");
            }
            s.push_back({"T", 0});
        } else {
            s.push_back(statement[k]);
        }
    }
    if (s.empty() || skipped.count(s[0].text) || s[0].text == "struct" || s[0].text == "class" || s[0].text == "union")
        return {};
    // The declarators, each cut before its initializer or bounds; a size in
    // parentheses (vector<T> v(N)) is an initializer too.
    std::vector<tokens> heads(1);
    bool cut = false;
    int depth = 0;
    for (size_t k = 0; k < s.size(); ++k) {
        const std::string& t = s[k].text;
        if (depth == 0 && t == ",") {
            heads.emplace_back(), cut = false;
            continue;
        }
        if (depth == 0 && !cut && (t == "=" || t == "{" || t == "[")) cut = true;
        if (depth == 0 && !cut && t == "(" && k > 0 && is_word(s[k - 1]) && k + 2 < s.size() && s[k + 2].text == ")" &&
            is_word(s[k + 1]) && !std::islower(static_cast<unsigned char>(s[k + 1].text[0])))
            cut = true;
        if ((t != "<" && t != ">") || !cut) depth += depth_step(t);   // angle brackets of the type alone
        if (!cut) heads.back().push_back(s[k]);
    }
    std::vector<std::string> names;
    tokens type;
    for (size_t d = 0; d < heads.size(); ++d) {
        tokens h = heads[d];
        while (!h.empty() && h.back().text == ")") h.pop_back();   // (*name)
        if (h.empty() || !is_word(h.back())) continue;
        const std::string name = h.back().text;
        h.pop_back();
        if (d == 0) {
            if (h.empty()) return {};
            for (size_t k = 0; k < h.size(); ++k)   // a function: parentheses not opening a (*name)
                if (h[k].text == "(" && !(k + 1 < h.size() && h[k + 1].text == "*")) return {};
            type = h;
        }
        tokens words = type;
        if (d > 0) words.insert(words.end(), h.begin(), h.end());
        // Const when const follows the last '*' (or stands anywhere without one).
        bool is_const = has(words, "constexpr");
        for (const token& w : words) {
            if (w.text == "*") is_const = has(words, "constexpr");
            if (w.text == "const") is_const = true;
        }
        if (!is_const && !has(words, "&")) names.push_back(name);
    }
    return names;
}

struct global {
    int line;
    std::string name;
};

// The index past the brace that closes the one at `open`.
size_t past_closing(const tokens& ts, size_t open)
{
    int depth = 0;
    do depth += (ts[open].text == "{") - (ts[open].text == "}");
    while (++open < ts.size() && depth > 0);
    return open;
}

// Every mutable variable defined at namespace scope.
std::vector<global> globals_of(const tokens& ts)
{
    std::vector<global> found;
    tokens statement;
    for (size_t i = 0; i < ts.size(); ++i) {
        const std::string& t = ts[i].text;
        if (t == "{") {
            const bool opens_namespace =
                has(statement, "namespace") || (!statement.empty() && statement[0].text == "extern" && has(statement, "\""));
            if (opens_namespace) {
                statement.clear();
                continue;
            }
            const bool record = (has(statement, "struct") || has(statement, "class") || has(statement, "union") ||
                                 has(statement, "enum")) && !has(statement, "(");
            const bool initializer = has(statement, "=") || record || (!statement.empty() && !has(statement, "("));
            const size_t end = past_closing(ts, i);
            if (initializer) statement.insert(statement.end(), ts.begin() + static_cast<long>(i), ts.begin() + static_cast<long>(end));
            else statement.clear();
            i = end - 1;
        } else if (t == "}") {
            statement.clear();
        } else if (t == ";") {
            for (const std::string& name : mutable_names(statement))
                if (!statement.empty()) found.push_back({statement[0].line, name});
            statement.clear();
        } else {
            statement.push_back(ts[i]);
        }
    }
    return found;
}

// The names the file's registered resets put back: the records of its
// ORVELL_RESET_RECORD lines, and every word of the bodies of its ORVELL_RESET
// functions.
std::set<std::string> registered_in(const tokens& ts)
{
    std::set<std::string> names, resets;
    for (size_t i = 0; i + 4 < ts.size(); ++i) {
        if (ts[i].text == "ORVELL_RESET_RECORD") names.insert(ts[i + 4].text);
        if (ts[i].text == "ORVELL_RESET") resets.insert(ts[i + 2].text);
    }
    for (size_t i = 0; i + 3 < ts.size(); ++i)
        if (resets.count(ts[i].text) && ts[i + 1].text == "(" && ts[i + 2].text == ")" && ts[i + 3].text == "{")
            for (size_t k = i + 3; k < past_closing(ts, i + 3); ++k) names.insert(ts[k].text);
    return names;
}

// The written list: file -> the names it keeps.
std::map<std::string, std::set<std::string>> kept_list()
{
    std::map<std::string, std::set<std::string>> kept;
    std::ifstream in(source_root / "tests/core/kept_globals.txt");
    for (std::string line; std::getline(in, line);) {
        const size_t colon = line.find(':');
        if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
        std::istringstream names(line.substr(colon + 1, line.find(" -- ") - colon - 1));
        for (std::string name; names >> name;) kept[line.substr(0, colon)].insert(name);
    }
    return kept;
}

}  // namespace kept_globals_reader

using namespace kept_globals_reader;

TEST(KeptGlobals, TheReaderFindsEveryMutableGlobalAndOnlyThose)
{
    const tokens code = tokens_of(R"(#include "x.h"
int a = 0, b[3] = {}; static float c;   // int not_a_comment;
namespace { struct s { int member; } d; std::vector<int> e(SIZE); }
const int f = 1; constexpr int g = 2; const char* h = "i;"; const char* const j = "";
int& k = a; void l(int m); extern int n; static void o() { int p = 0; }
struct q { int r; };
ORVELL_RESET_RECORD(s_reset, d, program);
)");
    std::vector<std::string> names;
    for (const global& g : globals_of(code)) names.push_back(g.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "e", "h"}));
    EXPECT_EQ(registered_in(code), (std::set<std::string>{"d"}));
}

TEST(KeptGlobals, EveryMutableGlobalIsRegisteredOrListedWithItsReason)
{
    auto kept = kept_list();
    std::string unregistered;
    for (const char* folder : {"core", "aircraft", "flightmodel", "world", "graphics", "scene", "panel", "screens", "links"})
        for (const auto& entry : fs::recursive_directory_iterator(source_root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            const tokens code = tokens_of(std::string(std::istreambuf_iterator<char>(in), {}));
            const std::string file = fs::relative(entry.path(), source_root).string();
            const std::set<std::string> registered = registered_in(code);
            for (const global& g : globals_of(code))
                if (!registered.count(g.name) && !kept[file].erase(g.name))
                    unregistered += file + ":" + std::to_string(g.line) + ": " + g.name + "\n";
        }
    EXPECT_EQ(unregistered, "") << "register each with a reset in its own file, or list it in tests/core/kept_globals.txt";
    std::string stale;
    for (const auto& [file, names] : kept)
        for (const std::string& name : names) stale += file + ": " + name + "\n";
    EXPECT_EQ(stale, "") << "listed in tests/core/kept_globals.txt but no such mutable global";
}
