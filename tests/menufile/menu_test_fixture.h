// A started window with handlers, a temporary folder and a message catcher, for the tests that
// touch files.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/grid_handlers.h"
#include "menufile/file_commands.h"
#include "tests/support/fake_window.h"

namespace quintrel::testing {

class CapturingReporter : public MessageReporter {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> reasons;  // each message's informative text, "" for none
    void report(const std::string& text) override { reportWithReason(text, ""); }
    void reportWithReason(const std::string& text, const std::string& reason) override {
        messages.push_back(text);
        reasons.push_back(reason);
    }
};

struct MenuFileFixture {
    QTemporaryDir dir;
    GridState state;
    FakeWindow window;
    GridHandlers handlers{window, state, "/opt/quintrel"};
    CapturingReporter reporter;

    MenuFileFixture() {
        window.handlers = &handlers;
        handlers.Form_Load();
        window.events.clear();
    }
    std::string path(const std::string& name) const {
        return (std::filesystem::path(dir.path().toStdString()) / name).string();
    }
};

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quintrel::testing
