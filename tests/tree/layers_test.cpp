// The folders of the system's code form layers: a file may include its own folder and the folders below
// it, never one above. That keeps the subsystems free of the application and of each other's cycles.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Lowest first. A folder may include the folders before it in this list.
const std::vector<std::string> LAYERS = {"base",  "platform", "scene",   "ocean",
                                         "water", "canoe",    "paddler", "app"};

int layerOf(const std::string& folder) {
    for (size_t i = 0; i < LAYERS.size(); ++i)
        if (LAYERS[i] == folder) return int(i);
    return -1;
}

TEST(Layers, NoIncludeRunsUpward) {
    int files = 0;
    const std::string directive = "#include \"";
    for (const std::string& folder : LAYERS) {
        std::error_code missing;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(CANOE_SOURCE_DIR) + "/" + folder, missing)) {
            std::string file = folder + "/" + entry.path().filename().string(),
                        ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            std::ifstream in(entry.path());
            // The folders named by the file's project includes ("folder/file.h").
            for (std::string line; std::getline(in, line);) {
                size_t slash = line.find('/', directive.size());
                if (line.compare(0, directive.size(), directive) != 0 || slash == std::string::npos) continue;
                std::string included = line.substr(directive.size(), slash - directive.size());
                EXPECT_NE(layerOf(included), -1)
                    << file << " includes " << included << "/, which is no layer";
                EXPECT_LE(layerOf(included), layerOf(folder))
                    << file << " reaches up into " << included << "/";
            }
        }
    }
    EXPECT_GT(files, 50) << "the source folders were not found under " << CANOE_SOURCE_DIR;
}

} // namespace
