// The folders of the system's code form layers: a file may include its own folder and the folders below
// it, never one above. That keeps the subsystems free of the application and of each other's cycles.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Lowest first. A folder may include the folders before it in this list.
const std::vector<std::string> LAYERS = {"base",  "platform", "scene",   "ocean",
                                         "water", "canoe",    "paddler", "app"};

int layerOf(const std::string& folder) {
    for (size_t i = 0; i < LAYERS.size(); ++i)
        if (LAYERS[i] == folder) return int(i);
    return -1;
}

std::vector<std::string> sourceFiles(const std::string& folder) {
    std::vector<std::string> files;
    if (DIR* dir = opendir((std::string(CANOE_SOURCE_DIR) + "/" + folder).c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 2 &&
                (name.substr(name.size() - 2) == ".h" || name.substr(name.size() - 4) == ".cpp"))
                files.push_back(folder + "/" + name);
        }
        closedir(dir);
    }
    return files;
}

// The folders named by the file's project includes ("folder/file.h").
std::vector<std::string> includedFolders(const std::string& path) {
    std::vector<std::string> folders;
    std::ifstream in(std::string(CANOE_SOURCE_DIR) + "/" + path);
    for (std::string line; std::getline(in, line);) {
        const std::string directive = "#include \"";
        if (line.compare(0, directive.size(), directive) != 0) continue;
        size_t slash = line.find('/', directive.size());
        if (slash != std::string::npos)
            folders.push_back(line.substr(directive.size(), slash - directive.size()));
    }
    return folders;
}

TEST(Layers, NoIncludeRunsUpward) {
    int files = 0;
    for (const std::string& folder : LAYERS)
        for (const std::string& file : sourceFiles(folder)) {
            ++files;
            for (const std::string& included : includedFolders(file)) {
                EXPECT_NE(layerOf(included), -1)
                    << file << " includes " << included << "/, which is no layer";
                EXPECT_LE(layerOf(included), layerOf(folder))
                    << file << " reaches up into " << included << "/";
            }
        }
    EXPECT_GT(files, 50) << "the source folders were not found under " << CANOE_SOURCE_DIR;
}

} // namespace
