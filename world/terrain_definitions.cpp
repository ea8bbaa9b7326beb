#include "world/terrain_definitions.h"

#include <cstring>
#include <istream>
#include <string>

#include "core/alert.h"
#include "core/constants.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "world/objects.h"

cover_entry cover_table[COVER_TEXTURES];

void TERRAIN_clear_cover_table()
{
    for (cover_entry& e : cover_table)
        for (std::vector<cover_definition>& l : e.lists) l.clear();
}

namespace {

constexpr int DEFINITION_VERSION = 1;
constexpr int OBJECT_KIND_FILE = 8;

enum class keyword { none, obj, ran, tre, forest, lit, car, roa, ret, com, end };

keyword keyword_of(const char* word)
{
    static const struct {
        const char* text;
        keyword k;
    } table[] = {{"obj", keyword::obj}, {"ran", keyword::ran}, {"tre", keyword::tre}, {"for", keyword::forest},
                 {"lit", keyword::lit}, {"car", keyword::car}, {"roa", keyword::roa}, {"ret", keyword::ret},
                 {"com", keyword::com}, {"end", keyword::end}};
    for (const auto& e : table)
        if (UTIL_strcmp_nocase(word, e.text) == 0) return e.k;
    return keyword::none;
}

// The definition file in file-use slot 0, closed and the slot given back on every way out.
class definition_file {
public:
    explicit definition_file(const char* path) : saved_(file_use_index)
    {
        file_use_index = 0;
        UTIL_strcpy(path, path_);
        char opened[TEXT_SIZE];
        UTIL_strcpy(path, opened);
        open_ = FILE_open_for_use(opened, KIND_TEXT, DEFINITION_VERSION, 1) != 0;
    }
    ~definition_file()
    {
        file_use_index = 0;
        FILE_close_current();
        file_use_index = saved_;
    }
    definition_file(const definition_file&) = delete;
    definition_file& operator=(const definition_file&) = delete;

    bool open() const { return open_; }
    const char* path() const { return path_; }
    std::istream& in() const { return FILE_current_stream(); }

    // The next word; false once the input is exhausted.
    bool word(char* out)
    {
        out[0] = 0;
        FILE_read_field(out, TEXT_SIZE, 0);
        return out[0] != 0;
    }
    // A value; false when the input ends or holds no number here.
    template <class T>
    bool value(T& v)
    {
        in() >> v;
        return !in().fail();
    }
    // The rest of the line, trailing blanks dropped; false when the input has ended.
    bool rest_of_line(char* out)
    {
        FILE_read_line(out, TEXT_SIZE);
        size_t n = std::strlen(out);
        while (n > 0 && (out[n - 1] == ' ' || out[n - 1] == '\t')) out[--n] = 0;
        return n > 0 || !in().eof();
    }
    // Skips the rest of the current line (the end of the input ends it too).
    void skip_line()
    {
        for (;;) {
            const int c = in().get();
            if (c == std::char_traits<char>::eof() || static_cast<char>(c) == file_line_end) break;
        }
    }

private:
    int saved_;
    char path_[TEXT_SIZE];
    bool open_ = false;
};

// A ratio outside 0..1 ends the program, naming the value and the file.
void check_ratio(float v, const char* what, const char* path)
{
    if (v >= 0.0f && v <= 1.0f) return;
    MACIBM_nuke_alert(0, what, "Ratio must be 0 to 1!", "", path, ALERT_FATAL);
}

// The four values every placed definition starts with. The first line of the
// alert names the value; the texts that name it are not given, so these plain
// texts stand in for them.
bool read_placement(definition_file& f, cover_definition& d)
{
    static const char* const names[4] = {"The position x or z of a terrain definition:", "",
                                         "The spread of a terrain definition:",
                                         "The chance of a terrain definition:"};
    float* fields[4] = {&d.x, &d.z, &d.spread, &d.chance};
    for (int n = 0; n < 4; ++n) {
        if (!f.value(*fields[n])) return false;
        check_ratio(*fields[n], names[n == 1 ? 0 : n], f.path());
    }
    return true;
}

// Loads an autogen object for an "obj" or "ran" entry (autogen 1: loaded
// only, not placed): its index, or -1 when the path is too long to be a path
// of the program, which would overrun the object loader's path buffers (the
// entry is skipped).
int load_object(const char* name)
{
    std::string full = std::string(folder_table[FOLDER_AUTOGEN_OBJECTS]) + name + ".obj";
    if (full.size() >= static_cast<size_t>(TEXT_SIZE)) return -1;
    return OBJ_build_obs(0.0f, 0.0f, 0.0f, 0.0f, full.c_str(), OBJECT_KIND_FILE, 1);
}

// The first waypoint of the loop a "ret" at index `own` closes: just after the
// last earlier record that does not lead to its successor, or 0.
int32_t loop_start(const std::vector<cover_definition>& road, int32_t own)
{
    for (int32_t k = own - 1; k >= 0; --k)
        if (road[static_cast<size_t>(k)].next != k + 1) return k + 1;
    return 0;
}

void link_waypoint(std::vector<cover_definition>& road, bool closes)
{
    const int32_t own = static_cast<int32_t>(road.size()) - 1;
    cover_definition& d = road.back();
    d.segment_start = own;
    d.next = closes ? loop_start(road, own) : own + 1;
    d.progress = 0.1f + 0.8f * random_table[own % RANDOM_TABLE_SIZE];
}

}  // namespace

void TERRAIN_setup_textures(const char* path, int t)
{
    if (t < 0 || t >= COVER_TEXTURES) {
        MACIBM_nuke_alert(0, "Too large a tex_index!", "", "", "", ALERT_FATAL);
        return;
    }
    cover_entry& entry = cover_table[t];
    for (std::vector<cover_definition>& l : entry.lists) l.clear();
    if (!path) return;

    definition_file f(path);
    if (!f.open()) return;

    char word[TEXT_SIZE];
    char name[TEXT_SIZE];
    for (bool reading = true; reading && f.word(word);) {
        const keyword k = keyword_of(word);
        cover_definition d{};
        switch (k) {
        case keyword::none: break;   // not a keyword: the next word is read as one
        case keyword::end: reading = false; break;
        case keyword::com: f.skip_line(); break;
        case keyword::obj: {
            reading = read_placement(f, d) && f.value(d.heading) && f.rest_of_line(name);
            if (!reading) break;
            const int object = load_object(name);
            if (object < 0) break;
            d.first_object = d.last_object = object;
            entry.lists[COVER_OBJECTS].push_back(d);
            break;
        }
        case keyword::ran: {
            reading = f.rest_of_line(name);
            // Without an "obj" before it there is nothing to widen.
            if (!reading || entry.lists[COVER_OBJECTS].empty()) break;
            const int object = load_object(name);
            if (object >= 0) entry.lists[COVER_OBJECTS].back().last_object = object;
            break;
        }
        case keyword::tre:
        case keyword::forest:
            reading = read_placement(f, d) && f.value(d.picture);
            if (reading) entry.lists[k == keyword::tre ? COVER_TREES : COVER_FOREST].push_back(d);
            f.skip_line();
            break;
        case keyword::lit: {
            float rgb[3];
            reading = read_placement(f, d) && f.value(d.light_height) && f.value(rgb[0]) && f.value(rgb[1]) &&
                      f.value(rgb[2]);
            if (reading) {
                for (int c = 0; c < 3; ++c) d.light_rgb[c] = rgb[c] * 0.1f;
                entry.lists[COVER_LIGHTS].push_back(d);
            }
            f.skip_line();
            break;
        }
        case keyword::car:
            reading = read_placement(f, d) && f.value(d.heading);
            if (reading) entry.lists[COVER_CARS].push_back(d);
            f.skip_line();
            break;
        case keyword::roa:
        case keyword::ret:
            reading = read_placement(f, d);
            if (reading) {
                entry.lists[COVER_ROAD].push_back(d);
                link_waypoint(entry.lists[COVER_ROAD], k == keyword::ret);
            }
            f.skip_line();
            break;
        }
    }

    // A road list that ends on a "roa" would lead past its end: its loop is closed.
    std::vector<cover_definition>& road = entry.lists[COVER_ROAD];
    if (!road.empty() && road.back().next >= static_cast<int32_t>(road.size()))
        road.back().next = loop_start(road, static_cast<int32_t>(road.size()) - 1);
}
