// The shell's sources as a maintainer reads them: no two units of app/ include each other,
// directly or around a loop, and each folder includes only its own and the folders below it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path SourceRoot = BRIM_SOURCE_DIR;

// The app/ folders from the bottom up; "" is app/ itself (start-up and main), then the command line.
const std::vector<std::string> Layers = {"storage", "settings", "shell", "screens", "", "cli"};

// "app/screens/frame" for app/screens/frame.cpp and app/screens/frame.h.
using TConcept = std::string;

std::map<TConcept, std::set<TConcept>> IncludeGraph()
{
    std::map<TConcept, std::set<TConcept>> graph;
    const std::regex include(R"re(^#include "(app/[a-z_/]+)\.h")re");
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot / "app")) {
        const fs::path path = entry.path();
        if (path.extension() != ".cpp" && path.extension() != ".h")
            continue;
        const TConcept unit = fs::relative(path, SourceRoot).replace_extension().generic_string();
        std::ifstream in(path);
        graph[unit];
        for (std::string line; std::getline(in, line);) {
            std::smatch match;
            if (std::regex_search(line, match, include) && match[1] != unit)
                graph[unit].insert(match[1]);
        }
    }
    return graph;
}

// A loop through `from`, as "a -> b -> a", or empty.
std::string LoopThrough(const std::map<TConcept, std::set<TConcept>>& graph, const TConcept& from)
{
    std::vector<TConcept> path = {from};
    std::set<TConcept> seen;
    std::function<bool(const TConcept&)> walk = [&](const TConcept& at) {
        const auto found = graph.find(at);
        if (found == graph.end())
            return false;
        for (const TConcept& next : found->second) {
            path.push_back(next);
            if (next == from || (seen.insert(next).second && walk(next)))
                return true;
            path.pop_back();
        }
        return false;
    };
    if (!walk(from))
        return {};
    std::string text;
    for (const TConcept& step : path)
        text += (text.empty() ? "" : " -> ") + step;
    return text;
}

// The layer of a unit: its folder's place in Layers.
size_t LayerOf(const TConcept& unit)
{
    const fs::path folder = fs::path(unit).parent_path();
    const std::string name = folder == "app" ? "" : folder.filename().string();
    for (size_t i = 0; i < Layers.size(); ++i)
        if (Layers[i] == name)
            return i;
    return Layers.size();
}

TEST(AppIncludeGraph, NoConceptIncludesAnotherThatIncludesItBack)
{
    const auto graph = IncludeGraph();
    ASSERT_GT(graph.size(), 40u) << "the sources were not found under " << SourceRoot;
    for (const auto& [unit, includes] : graph)
        EXPECT_EQ(LoopThrough(graph, unit), "") << "a loop of includes";
}

TEST(AppIncludeGraph, EachFolderIncludesOnlyItselfAndTheFoldersBelow)
{
    for (const auto& [unit, includes] : IncludeGraph()) {
        ASSERT_LT(LayerOf(unit), Layers.size()) << unit << " lies in a folder the layers do not name";
        if (fs::path(unit).filename() == "main")
            continue; // the executable's entry stands above every folder
        for (const TConcept& included : includes)
            EXPECT_LE(LayerOf(included), LayerOf(unit)) << unit << " includes " << included << ", a folder above it";
    }
}

} // namespace
