// Which way the floors point, read off the source tree: the spine (shell/)
// is reached from below (and from the flight model's tests) only through the
// hooks in core/, core/ stands on
// the platform layer and the standard library alone, the simulation and the
// links never reach into the drawing folders, and the drawing only reads the
// ground under the plane and the launch flags; and every hook is installed.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

// The lines of every source under `folder` that `offends` picks (leading
// blanks taken off), as "file:line: text" lines.
std::vector<std::string> lines_of(const std::string& folder, const std::function<bool(const std::string&)>& offends)
{
    const fs::path root = fs::path(ORVELL_FIXTURES).parent_path().parent_path();
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h" && ext != ".inc") continue;
        std::ifstream in(entry.path());
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            line.erase(0, line.find_first_not_of(" \t"));
            if (offends(line))
                found.push_back(fs::relative(entry.path(), root).string() + ":" + std::to_string(number) + ": " + line);
        }
    }
    return found;
}

// The project's own includes ("folder/...") under `folder` whose target
// folder is one of `refused`.
std::vector<std::string> includes_of(const std::string& folder, const std::vector<std::string>& refused)
{
    return lines_of(folder, [&refused](const std::string& line) {
        if (line.rfind("#include \"", 0) != 0) return false;
        const std::string target = line.substr(10, line.find('/', 10) - 10);
        for (const std::string& r : refused)
            if (target == r) return true;
        return false;
    });
}

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A call of an OpenGL entry: a word "gl" + capital + name, then "(".
bool calls_gl(const std::string& line)
{
    for (size_t at = line.find("gl"); at != std::string::npos; at = line.find("gl", at + 1)) {
        const bool starts_word = at == 0 || !word_char(line[at - 1]);
        if (!starts_word || at + 2 >= line.size() || !std::isupper(static_cast<unsigned char>(line[at + 2]))) continue;
        size_t end = at + 2;
        while (end < line.size() && word_char(line[end])) ++end;
        while (end < line.size() && line[end] == ' ') ++end;
        if (end < line.size() && line[end] == '(') return true;
    }
    return false;
}

// A mention of `name` as a whole word.
bool names(const std::string& line, const std::string& name)
{
    for (size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + 1)) {
        const size_t end = at + name.size();
        if ((at == 0 || !word_char(line[at - 1])) && (end >= line.size() || !word_char(line[end]))) return true;
    }
    return false;
}

std::string listed(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

}  // namespace

TEST(Floors, NothingBelowTheSpineIncludesItAndCoreStandsOnThePlatformAlone)
{
    for (const char* folder : {"platform", "core", "graphics", "aircraft", "flightmodel", "world", "links", "scene", "panel",
                               "screens", "tests/flightmodel"}) {
        const auto up = includes_of(folder, {"shell"});
        EXPECT_TRUE(up.empty()) << listed(up);
    }
    const auto core_up = includes_of("core", {"shell", "graphics", "aircraft", "flightmodel", "world", "links",
                                              "scene", "panel", "screens", "plugins", "tools", "tests"});
    EXPECT_TRUE(core_up.empty()) << listed(core_up);
    const auto platform_up = includes_of("platform", {"core", "shell", "graphics", "aircraft", "flightmodel", "world",
                                                      "links", "scene", "panel", "screens", "plugins", "tools", "tests"});
    EXPECT_TRUE(platform_up.empty()) << listed(platform_up);
}

TEST(Floors, TheSimulationAndTheLinksNeverReachIntoTheDrawingAndTheSimulationCallsNoGl)
{
    for (const char* folder : {"aircraft", "flightmodel", "world", "links"}) {
        const auto down = includes_of(folder, {"panel", "scene", "screens"});
        EXPECT_TRUE(down.empty()) << listed(down);
    }
    for (const char* folder : {"aircraft", "flightmodel"}) {
        const auto drawn = lines_of(folder, calls_gl);
        EXPECT_TRUE(drawn.empty()) << listed(drawn);
    }
}

// The simulation alone writes what lies under the plane and the launch
// flags: the drawing binds them to const references, and calls none of their
// finders, resets and releases.
TEST(Floors, TheDrawingOnlyReadsTheGroundUnderThePlaneAndTheLaunchFlags)
{
    const auto writes = [](const std::string& line) {
        if (line.rfind("#include", 0) == 0) return false;
        if ((names(line, "surface_state") || names(line, "launch_flags")) && line.rfind("const ", 0) != 0) return true;
        for (const char* call : {"GROUND_surface_", "GROUND_launch_", "LAUNCH_"})
            if (line.find(call) != std::string::npos) return true;
        return false;
    };
    for (const char* folder : {"scene", "panel", "screens", "graphics"}) {
        const auto found = lines_of(folder, writes);
        EXPECT_TRUE(found.empty()) << listed(found);
    }
}

// Every way up leads to its target once the one installer has run (the test
// support runs it, as the program's start-up does); an entry left empty is
// named by the check and stops a debug build at its first use.
TEST(Floors, EveryWayUpIsInstalledAndAnEmptyOneIsCaught)
{
    EXPECT_EQ(CORE_hook_left_empty(), nullptr);
    const hook_override emptied(core_hooks.CORE_run_command, nullptr);
    EXPECT_STREQ(CORE_hook_left_empty(), "CORE_run_command");
    EXPECT_DEATH(CORE_run_command(1), "CORE_run_command was left empty");
}
