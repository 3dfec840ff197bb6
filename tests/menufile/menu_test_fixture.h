// A started window with handlers, a temporary folder and a message catcher, for the tests that
// touch files.
#pragma once

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cstring>
#endif

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/grid_handlers.h"
#include "menufile/file_commands.h"
#include "menufile/menu_file_io.h"
#include "menufile/menu_procedures.h"
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

// The system's own words for an error, as the file layer reports it: on Windows FormatMessage's
// text for windowsCode without its line break, elsewhere strerror(posixCode).
inline std::string systemMessage([[maybe_unused]] int posixCode,
                                 [[maybe_unused]] unsigned long windowsCode) {
#ifdef _WIN32
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, windowsCode, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
#else
    return std::strerror(posixCode);
#endif
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the window's state to `path` and expects the message with the reason and no change to
// the window or GridState.
// Reads the file at `path` into the window and expects the message with the reason, an invalid grid
// and the path kept.
inline void expectReadFails(MenuFileFixture& f, const std::string& path,
                            const std::string& reason) {
    SCOPED_TRACE(path);
    f.reporter.messages.clear();
    f.reporter.reasons.clear();
    f.state.MenuFilePath = path;
    f.state.GridValid = kTrue;
    ReadMenuFile(f.window, f.handlers, f.state, f.reporter);
    EXPECT_EQ(f.reporter.messages,
              std::vector<std::string>{"Error reading from menu file " + path});
    EXPECT_EQ(f.reporter.reasons, std::vector<std::string>{reason});
    EXPECT_EQ(f.state.GridValid, kFalse);
    EXPECT_EQ(f.state.MenuFilePath, path);
}

inline void expectWriteFails(MenuFileFixture& f, const std::string& path,
                             const std::string& reason) {
    const MenuItems before = captureMenuItems(f.window, f.state);
    const std::size_t events = f.window.events.size();
    f.state.MenuFilePath = path;
    EXPECT_FALSE(WriteMenuFile(f.window, f.state, f.reporter));
    EXPECT_EQ(f.reporter.messages, std::vector<std::string>{"Error writing to menu file " + path});
    EXPECT_EQ(f.reporter.reasons, std::vector<std::string>{reason});
    EXPECT_EQ(captureMenuItems(f.window, f.state), before);
    EXPECT_EQ(f.window.events.size(), events);
    EXPECT_EQ(f.state.MenuFilePath, path);
}

}  // namespace quintrel::testing
