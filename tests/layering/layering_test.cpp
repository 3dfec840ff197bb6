// The folders are the architecture: this test reads every #include line and fails when one runs
// against the layers, so the folder picture stays true as the code grows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Layer {
    std::string folder;               // relative to the project's root
    std::vector<std::string> mayUse;  // folders this one may include from, besides itself
    bool qt;                          // may include Qt headers
};

// Lowest first; every arrow points down this list.
const std::vector<Layer> kLayers = {
    {"core", {}, false},
    {"metafile/format", {}, false},
    {"metafile/decode", {"metafile/format"}, false},
    {"metafile/player", {"metafile/format", "metafile/decode"}, false},
    {"platform/fonts", {}, true},
    {"metafile/qt", {"metafile/format", "metafile/decode", "metafile/player", "platform/fonts"}, true},
    {"platform/files", {}, true},
    {"platform/help", {}, true},
    {"platform/registry", {}, true},
    {"widgets", {}, true},
    {"menufile", {"core", "widgets", "platform/files"}, true},
    {"about", {"platform/help", "platform/registry", "widgets", "data"}, true},
    {"ui",
     {"core", "metafile/format", "metafile/decode", "metafile/player", "metafile/qt", "menufile",
      "about", "widgets", "platform/files", "data"},
     true},
    {"tools", {"metafile/format", "metafile/decode", "metafile/player", "metafile/qt"}, true},
};

struct SourceFile {
    std::string path;  // relative to the project's root, with '/'
    std::string text;
};

// The layer a path belongs to: the longest folder that holds it, or nullptr.
const Layer* layerOf(const std::string& path) {
    const Layer* found = nullptr;
    for (const Layer& layer : kLayers) {
        if (path.rfind(layer.folder + "/", 0) == 0 &&
            (!found || layer.folder.size() > found->folder.size())) {
            found = &layer;
        }
    }
    return found;
}

std::string folderOf(const std::string& path) {
    if (const Layer* layer = layerOf(path)) {
        return layer->folder;
    }
    return path.substr(0, path.find('/'));  // a top-level folder that is not a layer, e.g. data
}

// Every include that runs against the layers, as "file: include (reason)".
std::vector<std::string> violations(const std::vector<SourceFile>& files) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    static const std::regex qtHeader(R"(^(Q[A-Za-z]|Qt|qt))");
    std::vector<std::string> found;
    std::map<std::string, std::set<std::string>> uses;  // folder -> folders it includes from
    for (const SourceFile& file : files) {
        const Layer* layer = layerOf(file.path);
        if (!layer) {
            continue;
        }
        std::istringstream lines(file.text);
        for (std::string line; std::getline(lines, line);) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) {
                continue;
            }
            const std::string header = match[2];
            const auto report = [&](const std::string& reason) {
                found.push_back(file.path + ": " + header + " (" + reason + ")");
            };
            if (match[1] == "<") {
                if (!layer->qt && std::regex_search(header, qtHeader)) {
                    report(layer->folder + " includes no Qt");
                }
                continue;
            }
            if (header.find('/') == std::string::npos) {
                continue;  // a file beside this one
            }
            const std::string target = folderOf(header);
            if (target == layer->folder) {
                continue;
            }
            uses[layer->folder].insert(target);
            if (std::ranges::find(layer->mayUse, target) == layer->mayUse.end()) {
                report(layer->folder + " may not use " + target);
            }
        }
    }
    for (const auto& [from, targets] : uses) {
        for (const std::string& to : targets) {
            if (from < to && uses.contains(to) && uses[to].contains(from)) {
                found.push_back(from + " and " + to + " include each other");
            }
        }
    }
    return found;
}

std::vector<SourceFile> projectSources() {
    namespace fs = std::filesystem;
    const fs::path root(QUINTREL_SOURCE_DIR);
    std::vector<SourceFile> files;
    for (const Layer& layer : kLayers) {
        if (!fs::is_directory(root / layer.folder)) {
            ADD_FAILURE() << "the layer " << layer.folder << " has no folder";
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(root / layer.folder)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp")) {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream text;
                text << in.rdbuf();
                files.push_back({fs::relative(entry.path(), root).generic_string(), text.str()});
            }
        }
    }
    return files;
}

TEST(Layering, EveryIncludeRunsDownTheLayers) {
    const std::vector<SourceFile> files = projectSources();
    EXPECT_GT(files.size(), 100u);
    const std::vector<std::string> found = violations(files);
    for (const std::string& violation : found) {
        ADD_FAILURE() << violation;
    }
}

TEST(Layering, CatchesIncludesThatRunTheWrongWay) {
    const std::vector<std::string> found = violations({
        {"core/a.cpp", "#include <QString>\n#include <vector>\n"},
        {"metafile/player/b.cpp", "#include \"metafile/qt/qt_canvas.h\"\n"},
        {"metafile/format/c.h", "  #  include <QtGui/QImage>\n"},
        {"menufile/d.cpp", "#include \"ui/frm_main.h\"\n#include \"widgets/message_box.h\"\n"},
        {"widgets/e.cpp", "#include \"menufile/f.h\"\n"},
        {"metafile/qt/g.cpp", "#include \"metafile/player/wmf_player.h\"\n#include <QPainter>\n"},
    });
    const std::vector<std::string> expected = {
        "core/a.cpp: QString (core includes no Qt)",
        "metafile/player/b.cpp: metafile/qt/qt_canvas.h (metafile/player may not use metafile/qt)",
        "metafile/format/c.h: QtGui/QImage (metafile/format includes no Qt)",
        "menufile/d.cpp: ui/frm_main.h (menufile may not use ui)",
        "widgets/e.cpp: menufile/f.h (widgets may not use menufile)",
        "menufile and widgets include each other",
        "metafile/player and metafile/qt include each other",
    };
    EXPECT_EQ(found, expected);
}

}  // namespace
