#include "menufile/file_commands.h"

#include "menufile/menu_file_io.h"

namespace quintrel {

namespace {

constexpr const char* kOpenTitle = "Open Menu";
constexpr const char* kSaveTitle = "Save Menu";

}  // namespace

FileCommands::FileCommands(GridWindow& window, GridHandlers& handlers, GridState& state,
                           FileDialog& dialog, MessageReporter& reporter)
    : m_window(window),
      m_handlers(handlers),
      m_state(state),
      m_dialog(dialog),
      m_reporter(reporter) {}

void FileCommands::mnuFileOpen_Click() {
    const std::string path = m_dialog.openFileName(kOpenTitle, std::string(kMenuFileFilter));
    if (path.empty()) {
        return;  // cancelled: nothing changes
    }
    // Set before reading, so a file that fails to read still becomes the current file.
    m_state.MenuFilePath = path;
    ReadMenuFile(m_window, m_handlers, m_state, m_reporter);
}

void FileCommands::mnuFileSave_Click() {
    if (m_state.MenuFilePath.empty()) {
        mnuFileSaveAs_Click();
        return;
    }
    WriteMenuFile(m_window, m_state, m_reporter);
}

void FileCommands::mnuFileSaveAs_Click() {
    const std::string path = m_dialog.saveFileName(kSaveTitle, std::string(kMenuFileFilter));
    if (path.empty()) {
        return;
    }
    m_state.MenuFilePath = path;
    WriteMenuFile(m_window, m_state, m_reporter);
}

std::string qtNameFilter(std::string_view filter) {
    std::string out;
    std::size_t pos = 0;
    while (pos < filter.size()) {
        const std::size_t bar = filter.find('|', pos);
        const std::string_view description = filter.substr(pos, bar - pos);
        std::string patterns;
        pos = bar == std::string_view::npos ? filter.size() : bar + 1;
        if (bar != std::string_view::npos) {
            const std::size_t next = filter.find('|', pos);
            const std::string_view raw = filter.substr(pos, next - pos);
            pos = next == std::string_view::npos ? filter.size() : next + 1;
            for (char c : raw) {
                patterns.push_back(c == ';' ? ' ' : c);
            }
        }
        if (!out.empty()) {
            out += ";;";
        }
        out += description;
        const std::string shown = "(" + patterns + ")";
        if (!patterns.empty() && !description.ends_with(shown)) {
            out += " " + shown;
        }
    }
    return out;
}

std::string defaultExtension(std::string_view filter) {
    const std::size_t bar = filter.find('|');
    if (bar == std::string_view::npos) {
        return {};
    }
    std::string_view pattern = filter.substr(bar + 1);
    pattern = pattern.substr(0, pattern.find_first_of("|;"));
    if (!pattern.starts_with("*.") || pattern.size() == 2 ||
        pattern.find_first_of("*?", 2) != std::string_view::npos) {
        return {};
    }
    return std::string(pattern.substr(2));
}

}  // namespace quintrel
