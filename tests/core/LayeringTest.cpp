// The folders are layers, and a file may include only its own folder and the
// ones below it: a view that names the commands, or a command that names the
// grid widget, ties the layers into a loop that no test of behaviour notices.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Top to bottom; resources/ is below them all.
const std::vector<std::string> kLayers = {"app",     "frames",   "commands",
                                          "display", "document", "framework",
                                          "storage", "platform", "resources"};

int Rank(const std::string& folder) {
    for (size_t i = 0; i < kLayers.size(); ++i)
        if (kLayers[i] == folder)
            return static_cast<int>(i);
    return -1;
}

// Every quoted include of a layer folder that lies above `file`'s own.
std::vector<std::string> UpwardIncludes(const fs::path& file, int rank) {
    static const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+)/[^"]+")re");
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_search(line, match, include)) {
            const int target = Rank(match[1].str());
            if (target >= 0 && target < rank)
                found.push_back(line);
        }
    return found;
}

} // namespace

TEST(Layering, NoFolderIncludesAFolderAboveIt) {
    const fs::path root = QUEXO_SOURCE_DIR;
    if (!fs::is_directory(root / "commands"))
        GTEST_SKIP() << "sources not reachable from here";
    int files = 0;
    for (const std::string& folder : kLayers) {
        if (!fs::is_directory(root / folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp")
                continue;
            ++files;
            for (const std::string& line : UpwardIncludes(entry.path(), Rank(folder)))
                ADD_FAILURE() << entry.path().lexically_relative(root).string() << ": " << line;
        }
    }
    EXPECT_GT(files, 100) << "the walk found the sources";
}
