#include "menufile/file_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>

#include "menufile/qt_dialog_setup.h"
#include "tests/menufile/example_file.h"
#include "tests/menufile/menu_test_fixture.h"
#include "widgets/message_box.h"

namespace quintrel {
namespace {

using testing::kExampleFile;
using testing::readBytes;
using testing::writeBytes;

// Answers each dialog with the next prepared path ("" cancels) and records what was asked.
class ScriptedDialog : public FileDialog {
  public:
    std::deque<std::string> answers;
    std::vector<std::string> asked;  // "open <title> <filter>" or "save <title> <filter>"

    std::string openFileName(const std::string& title, const std::string& filter) override {
        return answer("open " + title + " " + filter);
    }
    std::string saveFileName(const std::string& title, const std::string& filter) override {
        return answer("save " + title + " " + filter);
    }

  private:
    std::string answer(std::string question) {
        asked.push_back(std::move(question));
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << asked.back();
            return {};
        }
        std::string path = answers.front();
        answers.pop_front();
        return path;
    }
};

const std::string kOpenQuestion = "open Open Menu Menu Files (*.txt)|*.txt";
const std::string kSaveQuestion = "save Save Menu Menu Files (*.txt)|*.txt";

struct Commands : testing::MenuFileFixture {
    ScriptedDialog dialog;
    FileCommands commands{window, handlers, state, dialog, reporter};
};

TEST(FileCommands, SaveWithoutAFileAsksAndACancelWritesNothing) {
    Commands c;
    c.dialog.answers = {"", ""};
    c.commands.mnuFileSave_Click();
    c.commands.mnuFileSave_Click();
    EXPECT_EQ(c.dialog.asked, (std::vector<std::string>{kSaveQuestion, kSaveQuestion}));
    EXPECT_EQ(c.state.MenuFilePath, "");
    EXPECT_TRUE(c.reporter.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(c.dir.path().toStdString()));
}

TEST(FileCommands, CancelledOpenChangesNothing) {
    Commands c;
    c.state.MenuFilePath = c.path("current.txt");
    const GridState before = c.state;
    c.dialog.answers = {""};
    c.commands.mnuFileOpen_Click();
    EXPECT_EQ(c.dialog.asked, std::vector<std::string>{kOpenQuestion});
    EXPECT_EQ(c.state.MenuFilePath, before.MenuFilePath);
    EXPECT_EQ(c.state.GridValid, before.GridValid);
    EXPECT_TRUE(c.window.events.empty());
    EXPECT_TRUE(c.reporter.messages.empty());
}

TEST(FileCommands, AfterOpenSaveWritesThatFileWithoutAsking) {
    Commands c;
    const std::string path = c.path("example.txt");
    writeBytes(path, kExampleFile);
    c.dialog.answers = {path};
    c.commands.mnuFileOpen_Click();
    EXPECT_EQ(c.state.MenuFilePath, path);
    EXPECT_EQ(c.window.texts[2], "125");
    c.window.setCheckState(CheckBox::Check1, kChecked);
    c.commands.mnuFileSave_Click();
    EXPECT_EQ(c.dialog.asked.size(), 1u);
    std::string expected(kExampleFile);
    expected.replace(49, 1, "1");  // item 10: Check1 is now ticked; the grid stays valid
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_TRUE(c.reporter.messages.empty());
}

TEST(FileCommands, AfterSaveAsSaveWritesTheSameFile) {
    Commands c;
    const std::string path = c.path("saved.txt");
    c.dialog.answers = {path};
    c.commands.mnuFileSaveAs_Click();
    EXPECT_EQ(c.dialog.asked, std::vector<std::string>{kSaveQuestion});
    EXPECT_EQ(c.state.MenuFilePath, path);
    EXPECT_EQ(readBytes(path).substr(0, 4), "\"\"\r\n");
    c.window.setText(TextField::Text1, "7");
    c.commands.mnuFileSave_Click();
    EXPECT_EQ(c.dialog.asked.size(), 1u);
    EXPECT_EQ(readBytes(path).substr(0, 5), "\"7\"\r\n");
}

TEST(FileCommands, AFailedOpenStillMakesTheFileCurrent) {
    Commands c;
    const std::string path = c.path("eleven.txt");
    writeBytes(path, kExampleFile.substr(0, 55));
    c.dialog.answers = {path};
    c.commands.mnuFileOpen_Click();
    EXPECT_EQ(c.reporter.messages,
              std::vector<std::string>{"Error reading from menu file " + path});
    EXPECT_EQ(c.state.MenuFilePath, path);
    c.commands.mnuFileSave_Click();  // overwrites it with the current state, without asking
    EXPECT_EQ(c.dialog.asked.size(), 1u);
    EXPECT_EQ(readBytes(path).size(), 60u);
    EXPECT_EQ(readBytes(path).substr(55), "\"N\"\r\n");
}

TEST(FileCommands, AFailedSaveAsStillMakesThePathCurrent) {
    Commands c;
    const std::string path = c.path("missing/menu.txt");
    c.dialog.answers = {path};
    c.commands.mnuFileSaveAs_Click();
    c.commands.mnuFileSave_Click();
    const std::string message = "Error writing to menu file " + path;
    EXPECT_EQ(c.reporter.messages, (std::vector<std::string>{message, message}));
    EXPECT_EQ(c.dialog.asked.size(), 1u);
    EXPECT_EQ(c.state.MenuFilePath, path);
}

// Qt's form of a filter, and the extension the save dialog gives a name typed without one.
TEST(QtNameFilter, ConvertsPairsToQtForm) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Menu Files (*.txt)|*.txt", "Menu Files (*.txt)", "txt"},
        {"Text|*.txt", "Text (*.txt)", "txt"},
        {"Menus|*.txt;*.men|All Files (*.*)|*.*", "Menus (*.txt *.men);;All Files (*.*)", "txt"},
        {"Menus|*.men;*.txt", "Menus (*.men *.txt)", "men"},
        {"All Files (*.*)|*.*", "All Files (*.*)", ""},
        {"Names|menu*.txt", "Names (menu*.txt)", ""},
        {"Any|*", "Any (*)", ""},
        {"Just a name", "Just a name", ""},
        {"", "", ""},
    };
    for (const auto& [windows, qt, extension] : cases) {
        EXPECT_EQ(qtNameFilter(windows), qt) << windows;
        EXPECT_EQ(defaultExtension(windows), extension) << windows;
    }
}

class QtDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "menufile_tests";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
        // A file dialog keeps its history in the user's Qt settings when it goes; keep the
        // tester's own out of it.
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
};

TEST_F(QtDialogs, OpenAcceptsExistingFilesOnly) {
    QFileDialog dialog;
    configureFileDialog(dialog, FileDialogKind::Open, "Open Menu", "Menu Files (*.txt)|*.txt");
    EXPECT_EQ(dialog.windowTitle(), "Open Menu");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Menu Files (*.txt)"});
}

TEST_F(QtDialogs, SaveAsksBeforeReplacing) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    configureFileDialog(dialog, FileDialogKind::Save, "Save Menu", "Menu Files (*.txt)|*.txt");
    EXPECT_EQ(dialog.windowTitle(), "Save Menu");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Menu Files (*.txt)"});
}

// A name typed without an extension gets ".txt", so the file shows in the Open dialog; the
// question about replacing an existing file is asked for that name.
TEST_F(QtDialogs, SaveAddsTheExtensionBeforeAskingAboutReplacing) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("menu.txt").toStdString(), "x");
    QFileDialog dialog;
    configureFileDialog(dialog, FileDialogKind::Save, "Save Menu", "Menu Files (*.txt)|*.txt");
    dialog.setDirectory(dir.path());
    dialog.selectFile("menu");
    EXPECT_EQ(dialog.selectedFiles(), QStringList{dir.filePath("menu.txt")});
    QString question;
    QTimer::singleShot(0, [&question] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question = box->text();
            box->reject();  // "No": keep the file
        }
    });
    QMetaObject::invokeMethod(&dialog, "accept");
    EXPECT_TRUE(question.startsWith("menu.txt already exists")) << question.toStdString();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(QtDialogs, MessageBoxHasOkOnlyAndNoIcon) {
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    configureMessageBox(box, "Quintrel", "Error writing to menu file /tmp/<b>x</b>.txt");
    EXPECT_EQ(box.windowTitle(), "Quintrel");
    EXPECT_EQ(box.text(), "Error writing to menu file /tmp/<b>x</b>.txt");
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box.informativeText(), "");

    configureMessageBox(box, "Quintrel", "Error reading from menu file x.txt", QMessageBox::NoIcon,
                        "Is a <b>directory</b>");
    EXPECT_EQ(box.informativeText(), "Is a <b>directory</b>");
    const auto* label = box.findChild<QLabel*>("qt_msgbox_informativelabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace quintrel
