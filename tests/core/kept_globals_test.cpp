// Every mutable global of the program goes back to rest through the reset
// registry, or stands on the written list beside this file with its reason:
// read off the source tree. Counted: a variable at namespace scope (named or
// anonymous namespace, static, inline or not), an inline static member of a
// record, and a static local (function::name), each when it is not const. It
// is registered when a reset registered in the same file writes it, or when it
// is the record of an ORVELL_RESET_RECORD line.
#include <gtest/gtest.h>

#include <algorithm>
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
        // Const when const follows the last '*' (or stands anywhere without
        // one), both outside template arguments: unique_ptr<const T> is not.
        bool is_const = has(words, "constexpr");
        int angle = 0;
        for (const token& w : words) {
            angle += (w.text == "<") - (w.text == ">");
            if (angle == 0 && w.text == "*") is_const = has(words, "constexpr");
            if (angle == 0 && w.text == "const") is_const = true;
        }
        if (!is_const && !has(words, "&")) names.push_back(name);
    }
    return names;
}

struct global {
    int line;
    std::string name;
    const char* advice = "";   // for the failure message: how such a variable is registered
    std::string type{};        // the record it is, when a record read so far
};

// The data members of every record read so far, by the record's name.
std::map<std::string, std::set<std::string>> record_members;

constexpr const char* KEPT_LOCAL_ADVICE = " (kept from call to call: move it into a record at file scope)";
constexpr const char* CLASS_STATIC_ADVICE = " (an inline static member: make it a global of its file)";

// The index past the brace that closes the one at `open`.
size_t past_closing(const tokens& ts, size_t open)
{
    int depth = 0;
    do depth += (ts[open].text == "{") - (ts[open].text == "}");
    while (++open < ts.size() && depth > 0);
    return open;
}

// The name a function statement defines: the word before its first parenthesis.
std::string function_name(const tokens& statement)
{
    for (size_t k = 1; k < statement.size(); ++k)
        if (statement[k].text == "(" && is_word(statement[k - 1])) return statement[k - 1].text;
    return "?";
}

// A function's head: a parenthesis before any '=' (a default argument's comes after it).
bool function_head(const tokens& statement)
{
    for (const token& t : statement) {
        if (t.text == "=") return false;
        if (t.text == "(") return true;
    }
    return false;
}

bool defines_record(const tokens& statement)
{
    return (has(statement, "struct") || has(statement, "class") || has(statement, "union")) && !has(statement, "(");
}

// The word after the statement's struct, class or union: the record's name.
std::string record_name(const tokens& statement)
{
    for (size_t k = 0; k + 1 < statement.size(); ++k) {
        const std::string& t = statement[k].text;
        if ((t == "struct" || t == "class" || t == "union") && is_word(statement[k + 1])) return statement[k + 1].text;
    }
    return "?";
}

// The static locals of a function body [begin, end) that are not constant:
// each keeps its value from call to call. Named function::variable.
void kept_locals(const tokens& ts, size_t begin, size_t end, const std::string& function, std::vector<global>& found)
{
    for (size_t k = begin; k < end; ++k) {
        if (ts[k].text != "static") continue;
        tokens statement;
        for (int depth = 0; k < end && (depth > 0 || ts[k].text != ";"); ++k) {
            const std::string& t = ts[k].text;
            depth += (t == "(" || t == "[" || t == "{") - (t == ")" || t == "]" || t == "}");
            statement.push_back(ts[k]);
        }
        for (const std::string& name : mutable_names(statement)) found.push_back({statement[0].line, function + "::" + name, KEPT_LOCAL_ADVICE});
    }
}

// The inline static members of a record's body [begin, end), named
// record::member, and the kept locals of its member functions.
void record_statics(const tokens& ts, size_t begin, size_t end, const std::string& record, std::vector<global>& found)
{
    tokens statement;
    for (size_t i = begin; i < end; ++i) {
        const std::string& t = ts[i].text;
        if (t == "{") {
            const size_t close = past_closing(ts, i);
            if (defines_record(statement)) {
                record_statics(ts, i + 1, close - 1, record_name(statement), found);
                statement.push_back({"T", 0});
            } else if (function_head(statement)) {
                kept_locals(ts, i + 1, close - 1, function_name(statement), found);
                statement.clear();
            } else {
                statement.insert(statement.end(), ts.begin() + static_cast<long>(i), ts.begin() + static_cast<long>(close));
            }
            i = close - 1;
        } else if (t == ";" || t == "}") {
            if (has(statement, "static") && has(statement, "inline"))
                for (const std::string& name : mutable_names(statement))
                    found.push_back({statement[0].line, record + "::" + name, CLASS_STATIC_ADVICE});
            else if (!has(statement, "static"))
                for (const std::string& name : mutable_names(statement)) record_members[record].insert(name);
            statement.clear();
        } else if (t == ":" && statement.size() == 1) {   // public:, private:, protected:
            statement.clear();
        } else {
            statement.push_back(ts[i]);
        }
    }
}

// Every mutable variable defined at namespace scope, every inline static
// member of a record, and every static local that is not constant.
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
            const bool record = defines_record(statement) || (has(statement, "enum") && !has(statement, "("));
            const bool initializer = record || (!statement.empty() && !function_head(statement));
            const size_t end = past_closing(ts, i);
            if (defines_record(statement)) record_statics(ts, i + 1, end - 1, record_name(statement), found);
            if (initializer) {
                // The only statics an initializer's braces can hold are a
                // lambda's: kept as a function's, named by the variable.
                const auto eq = std::find_if(statement.begin() + 1, statement.end(), [](const token& w) { return w.text == "="; });
                if (!record) kept_locals(ts, i + 1, end - 1, eq == statement.end() ? "?" : (eq - 1)->text, found);
                statement.insert(statement.end(), ts.begin() + static_cast<long>(i), ts.begin() + static_cast<long>(end));
            } else {
                kept_locals(ts, i + 1, end - 1, function_name(statement), found);
                statement.clear();
            }
            i = end - 1;
        } else if (t == "}") {
            statement.clear();
        } else if (t == ";") {
            for (const std::string& name : mutable_names(statement))
                if (!statement.empty()) {
                    const auto type = std::find_if(statement.begin(), statement.end(),
                                                   [](const token& w) { return record_members.count(w.text) > 0; });
                    found.push_back({statement[0].line, name, "", type == statement.end() ? "" : type->text});
                }
            statement.clear();
        } else {
            statement.push_back(ts[i]);
        }
    }
    return found;
}

// Whether the whole of the name at ts[k] is written there, in the body
// [begin, end) of a reset: assigned (whole, or element by element through an
// index that is not a number), cleared, filled or reset by its own method,
// handed to a call that fills, clears or resets (memset, std::fill, a *_reset
// ...), or bound to a reference (T& r = name; for (T& r : name)) that is
// written so further on. A read (a comparison, an argument of sizeof or of
// any other call) is not, nor a write of one member or of one numbered
// element: the rest of the record would be kept.
bool written_at(const tokens& ts, size_t k, size_t begin, size_t end)
{
    static const std::set<std::string> clearing_methods = {"clear", "fill", "reset", "assign"};
    if (ts[k - 1].text == "." || (ts[k - 1].text == ">" && ts[k - 2].text == "-")) return false;   // another's member
    size_t j = k + 1;
    std::string method;
    bool part = false;   // through a member, or one element named by its number: not the whole of it
    while (j + 2 < end) {
        if (ts[j].text == "[") {
            part = part || (std::isdigit(static_cast<unsigned char>(ts[j + 1].text[0])) && ts[j + 2].text == "]");
            for (int depth = 0; j < end; ++j) {
                depth += (ts[j].text == "[") - (ts[j].text == "]");
                if (depth == 0) break;
            }
            ++j;
        } else if ((ts[j].text == "." && is_word(ts[j + 1])) || (ts[j].text == "-" && ts[j + 1].text == ">")) {
            part = part || !method.empty();
            j += ts[j].text == "." ? 1 : 2;
            method = ts[j++].text;
        } else {
            break;
        }
    }
    if (j + 1 < end && ts[j].text == "=" && ts[j + 1].text != "=") return !part && method.empty();
    if (j < end && ts[j].text == "(" && clearing_methods.count(method)) return !part;
    if (part || !method.empty()) return false;
    // Bound to a reference: "& r = name ;" or "for (... & r : name)".
    const std::string& after = ts[k + 1].text;
    if (k >= begin + 3 && is_word(ts[k - 2]) && ts[k - 3].text == "&" &&
        ((ts[k - 1].text == "=" && after == ";") || (ts[k - 1].text == ":" && after == ")"))) {
        bool is_const = false;
        for (size_t p = k - 3; p > begin && ts[p].text != ";" && ts[p].text != "(" && ts[p].text != "{"; --p)
            is_const = is_const || ts[p].text == "const";
        for (size_t m = k + 1; m < end && !is_const; ++m)
            if (ts[m].text == ts[k - 2].text && written_at(ts, m, begin, end)) return true;
    }
    // The calls whose parentheses hold it, innermost first.
    int depth = 0;
    for (size_t p = k; p-- > begin;) {
        const std::string& t = ts[p].text;
        if (t == ";" || t == "{" || t == "}") break;
        depth += (t == ")") - (t == "(");
        if (depth >= 0) continue;
        depth = 0;
        if (!is_word(ts[p - 1])) continue;
        std::string callee = ts[p - 1].text;
        if (callee == "sizeof" || callee == "decltype") return false;
        std::transform(callee.begin(), callee.end(), callee.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const char* filling : {"memset", "fill", "clear", "reset", "bzero"})
            if (callee.find(filling) != std::string::npos) return true;
    }
    return false;
}

// What the file's registered resets put back: the records of its
// ORVELL_RESET_RECORD lines, and what the bodies of its ORVELL_RESET functions
// write. `mentioned` gets every word of those bodies.
std::set<std::string> registered_in(const tokens& code, std::set<std::string>* mentioned = nullptr)
{
    // A member written by name reads as one word, record.member.
    tokens ts;
    for (size_t i = 0; i < code.size(); ++i) {
        const bool member = i + 3 < code.size() && is_word(code[i]) && code[i + 1].text == "." && is_word(code[i + 2]) &&
                            code[i + 3].text != "(" && !(i > 0 && code[i - 1].text == ".");
        ts.push_back(member ? token{code[i].text + "." + code[i + 2].text, code[i].line} : code[i]);
        i += member ? 2 : 0;
    }
    std::set<std::string> names, resets;
    for (size_t i = 0; i + 4 < ts.size(); ++i) {
        if (ts[i].text == "ORVELL_RESET_RECORD") names.insert(ts[i + 4].text);
        if (ts[i].text == "ORVELL_RESET") resets.insert(ts[i + 2].text);
    }
    for (size_t i = 0; i + 3 < ts.size(); ++i)
        if (resets.count(ts[i].text) && ts[i + 1].text == "(" && ts[i + 2].text == ")" && ts[i + 3].text == "{") {
            // Nothing after the body's own return (not one under an if) is written.
            size_t end = past_closing(ts, i + 3);
            for (size_t k = i + 4, depth = 0; k < end; ++k) {
                depth += (ts[k].text == "{") - (ts[k].text == "}");
                const std::string& before = ts[k - 1].text;
                if (depth == 0 && ts[k].text == "return" && (before == ";" || before == "{" || before == "}")) end = k;
            }
            for (size_t k = i + 4; k < end; ++k) {
                if (!is_word(ts[k]) || std::isdigit(static_cast<unsigned char>(ts[k].text[0]))) continue;
                if (written_at(ts, k, i + 4, end)) names.insert(ts[k].text);
                if (mentioned) mentioned->insert(ts[k].text.substr(0, ts[k].text.find('.')));
            }
        }
    return names;
}

// Whether the resets that register `written` put back the whole of a global:
// itself, or every data member of its record.
bool put_back(const global& g, const std::set<std::string>& written)
{
    if (written.count(g.name)) return true;
    const auto members = record_members.find(g.type);
    if (members == record_members.end() || members->second.empty()) return false;
    for (const std::string& m : members->second)
        if (!written.count(g.name + "." + m)) return false;
    return true;
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
struct q { int r; static inline int count = 0; static inline constexpr int most = 3; static int declared;
    struct inner { inline static std::vector<int> cache{}; }; void tick(int by = 1) { static int ticks; } };
inline int t = 0; inline constexpr int u = 1;
int* next() { static const int table[2] = {1, 2}; static constexpr int v = 2; static int calls = 0;
    static std::vector<int> scratch(SIZE); static const char* name = "w"; return &calls; }
std::unique_ptr<const int> x; const std::vector<int*> y; const auto z = [] { static int runs = 0; return ++runs; };
ORVELL_RESET_RECORD(s_reset, d, program);
)");
    std::vector<std::string> names;
    for (const global& g : globals_of(code)) names.push_back(g.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "e", "h", "q::count", "inner::cache", "tick::ticks",
                                               "t", "next::calls", "next::scratch", "next::name", "x", "z::runs"}));
    EXPECT_EQ(registered_in(code), (std::set<std::string>{"d"}));
}

// A reset registers what it writes whole, not what it only reads, nor one
// member or one numbered element of it.
TEST(KeptGlobals, ARegisteredResetRegistersWhatItWrites)
{
    const tokens code = tokens_of(R"(
void r() {
    a = 0; b[2].x = 1; c.clear(); std::fill(std::begin(d), std::end(d), 0); std::memset(&e, 0, sizeof e);
    for (T& v : f) v = {}; T& w = g; w.y = 2; LIST_reset(h);
    if (i == 0 && j.size() > sizeof k) use(l); m = n; o.p = 3; T& q = s; q.size(); for (const T& x : t) use(x);
    y[0] = 1; for (int at = 0; at < 3; ++at) z[at] = 0;
}
ORVELL_RESET(r, flight);
void not_registered() { u = 0; }
)");
    const std::set<std::string> written = registered_in(code);
    std::string globals_written;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "s", "t", "u", "y", "z"})
        if (written.count(name)) globals_written += name;
    EXPECT_EQ(globals_written, "acdefhmz");

    // A record is put back whole by the file's resets together, member by
    // member; nothing after a reset's return is written.
    const tokens records = tokens_of(R"(
struct pair_record { int p, q; };
pair_record both, one, dead;
void r() { both.p = 0; one.q = 0; }
void s() { both.q = 1; return; dead = {}; }
ORVELL_RESET(r, flight);
ORVELL_RESET(s, program);
)");
    std::string whole;
    for (const global& g : globals_of(records))
        if (put_back(g, registered_in(records))) whole += g.name;
    EXPECT_EQ(whole, "both");
}

TEST(KeptGlobals, EveryMutableGlobalIsRegisteredOrListedWithItsReason)
{
    auto kept = kept_list();
    std::string unregistered;
    record_members.clear();   // the records of the other tests' code
    // Read whole before it is checked: a global's record may be defined in a later file.
    std::vector<std::pair<std::string, tokens>> tree;
    for (const char* folder : {"platform", "core", "aircraft", "flightmodel", "world", "graphics", "scene", "panel", "screens",
                               "links", "shell", "plugins"})
        for (const auto& entry : fs::recursive_directory_iterator(source_root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            tree.emplace_back(fs::relative(entry.path(), source_root).string(),
                              tokens_of(std::string(std::istreambuf_iterator<char>(in), {})));
            globals_of(tree.back().second);
        }
    for (const auto& [file, code] : tree) {
        std::set<std::string> mentioned;
        const std::set<std::string> registered = registered_in(code, &mentioned);
        for (const global& g : globals_of(code)) {
            if (put_back(g, registered) || kept[file].erase(g.name)) continue;
            unregistered += file + ":" + std::to_string(g.line) + ": " + g.name + g.advice;
            if (mentioned.count(g.name)) unregistered += " (a registered reset does not write the whole of it)";
            unregistered += "\n";
        }
    }
    EXPECT_EQ(unregistered, "")
        << "register each with a reset in its group (flight, scene, panel, program) beside its definition in the file named "
           "(see core/reset_registry.h), or list it in tests/core/kept_globals.txt with its reason";
    std::string stale;
    for (const auto& [file, names] : kept)
        for (const std::string& name : names) stale += file + ": " + name + "\n";
    EXPECT_EQ(stale, "") << "listed in tests/core/kept_globals.txt but no such mutable global";
}
