// Which way the floors point, read off the source tree: the spine (shell/)
// is reached from below only through the hooks in core/, and core/ stands on
// the platform layer and the standard library alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The project's own includes ("folder/...") of every source under `folder`
// whose target folder is one of `refused`, as "file: include" lines.
std::vector<std::string> includes_of(const std::string& folder, const std::vector<std::string>& refused)
{
    const fs::path root = fs::path(ORVELL_FIXTURES).parent_path().parent_path();
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            line.erase(0, line.find_first_not_of(" \t"));
            if (line.rfind("#include \"", 0) != 0) continue;
            const std::string target = line.substr(10, line.find('/', 10) - 10);
            for (const std::string& r : refused)
                if (target == r) found.push_back(fs::relative(entry.path(), root).string() + ": " + line);
        }
    }
    return found;
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
    for (const char* folder :
         {"platform", "core", "graphics", "aircraft", "flightmodel", "world", "links", "scene", "panel", "screens"}) {
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
