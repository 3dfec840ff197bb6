// The File menu's commands on menu files (Open, Save, Save As), the dialog and message interfaces
// they talk through, and the Qt implementations of those interfaces.
#pragma once

#include <string>
#include <string_view>

#include "core/grid_handlers.h"
#include "core/grid_state.h"
#include "core/grid_window.h"

class QWidget;

namespace quintrel {

// The file dialogs the commands show. Paths are UTF-8 with the platform's separators.
class FileDialog {
  public:
    virtual ~FileDialog() = default;
    // filter: pairs of description and pattern separated by vertical bars, such as
    // "Menu Files (*.txt)|*.txt". An empty string means the user cancelled.
    virtual std::string openFileName(const std::string& title, const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& title, const std::string& filter) = 0;
};

// Shows a failure to the user in a message box with an OK button only.
class MessageReporter {
  public:
    virtual ~MessageReporter() = default;
    // The fixed messages of the menu files, exactly as worded, with no icon.
    virtual void report(const std::string& text) = 0;
    // A fixed message with the reason beneath it, such as "Permission denied" (the box's
    // informative text). A reporter that shows a single text shows the fixed message alone.
    virtual void reportWithReason(const std::string& text, const std::string& /*reason*/) {
        report(text);
    }
    // The program's own explanations of a failed calculation or picture, with the warning icon.
    virtual void warn(const std::string& text) { report(text); }
};

inline constexpr std::string_view kMenuFileFilter = "Menu Files (*.txt)|*.txt";

class FileCommands {
  public:
    FileCommands(GridWindow& window, GridHandlers& handlers, GridState& state, FileDialog& dialog,
                 MessageReporter& reporter);

    void mnuFileOpen_Click();    // "&Open...": choose an existing file, then read it
    void mnuFileSave_Click();    // "&Save": write the current file, or Save As when there is none
    void mnuFileSaveAs_Click();  // "Save &As...": choose a file, then write it

  private:
    GridWindow& m_window;
    GridHandlers& m_handlers;
    GridState& m_state;
    FileDialog& m_dialog;
    MessageReporter& m_reporter;
};

// QFileDialog, modal over parent: open accepts existing files only, save asks before replacing.
class QtFileDialog : public FileDialog {
  public:
    explicit QtFileDialog(QWidget* parent) : m_parent(parent) {}
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter) override;

  private:
    QWidget* m_parent;
};

// QMessageBox titled "Quintrel", modal over parent, with an OK button only; no icon for report
// and reportWithReason, the warning icon for warn.
class QtMessageReporter : public MessageReporter {
  public:
    explicit QtMessageReporter(QWidget* parent) : m_parent(parent) {}
    void report(const std::string& text) override;
    void reportWithReason(const std::string& text, const std::string& reason) override;
    void warn(const std::string& text) override;

  private:
    QWidget* m_parent;
};

// A "description|pattern|description|pattern…" filter in Qt's form, "description (patterns)"
// entries joined by ";;". A description that already ends in its patterns in parentheses is kept
// as it stands; pattern lists separated by ';' become blank-separated.
std::string qtNameFilter(std::string_view filter);

// The extension of the filter's first pattern when that is a plain "*.ext", such as "txt" for
// "Menu Files (*.txt)|*.txt"; empty otherwise ("*.*", "*", "menu*.txt", no pattern).
std::string defaultExtension(std::string_view filter);

}  // namespace quintrel
