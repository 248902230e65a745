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

// The quoted includes of `file` that name a layer folder ("display/…").
std::vector<std::string> LayerIncludes(const fs::path& file) {
    static const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+/[^"]+)")re");
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_search(line, match, include))
            found.push_back(match[1].str());
    return found;
}

// Whether `header` (a path under root) is `target` or includes it, directly
// or through other headers of the tree.
bool PullsIn(const fs::path& root, const std::string& header, const std::string& target,
             std::map<std::string, bool>& known) {
    if (header == target)
        return true;
    if (const auto it = known.find(header); it != known.end())
        return it->second;
    known[header] = false; // a cycle ends here
    bool pulls = false;
    for (const std::string& next : LayerIncludes(root / header))
        pulls = pulls || PullsIn(root, next, target, known);
    known[header] = pulls;
    return pulls;
}

// Every quoted include of a layer folder that lies above `file`'s own.
std::vector<std::string> UpwardIncludes(const fs::path& file, int rank) {
    std::vector<std::string> found;
    for (const std::string& header : LayerIncludes(file)) {
        const int target = Rank(header.substr(0, header.find('/')));
        if (target >= 0 && target < rank)
            found.push_back(header);
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
            for (const std::string& header : UpwardIncludes(entry.path(), Rank(folder)))
                ADD_FAILURE() << entry.path().lexically_relative(root).string() << " includes "
                              << header;
        }
    }
    EXPECT_GT(files, 100) << "the walk found the sources";
}

// The commands reach a view through IHexView, never through the grid widget
// or a header that brings it along.
TEST(Layering, CommandsIncludeNothingOfTheGridWidget) {
    const fs::path root = QUEXO_SOURCE_DIR;
    if (!fs::is_directory(root / "commands"))
        GTEST_SKIP() << "sources not reachable from here";
    std::map<std::string, bool> known;
    for (const auto& entry : fs::directory_iterator(root / "commands"))
        for (const std::string& header : LayerIncludes(entry.path()))
            EXPECT_FALSE(PullsIn(root, header, "display/CHexGridWnd.h", known))
                << entry.path().filename().string() << " includes " << header;
}
