// The calculator driven through its window as a user drives it: typing, pasting, pressing,
// choosing units and options, opening menu files; and the program-made changes that must run the
// same handlers.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>
#include <iterator>

#include "core/grid_error.h"
#include "ui/picture_box.h"
#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using CalculatorWindowTest = WindowTest;

// Answers the next file dialog with path, as a user choosing that file would.
class FileDialogAnswer {
  public:
    explicit FileDialogAnswer(const QString& path) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, path] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->selectFile(path);
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
            }
        });
        m_timer.start();
    }

  private:
    QTimer m_timer;
};

void ctrlV(QWidget* widget, const QString& clipboard) {
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

TEST_F(CalculatorWindowTest, StartsInTheDocumentedState) {
    EXPECT_EQ(window->windowTitle(), "Quintrel");
    EXPECT_FALSE(find<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(find<QComboBox>("Combo1")->currentText(), "ns");
    EXPECT_EQ(find<QComboBox>("Combo2")->currentText(), "GHz");
    for (const char* label : {"Label2", "Label5", "Label6"}) {
        EXPECT_EQ(caption(label), "") << label;
    }
    for (const char* name : {"Text1", "Text2", "Text3"}) {
        EXPECT_EQ(find<QLineEdit>(name)->text(), "") << name;
    }
    EXPECT_FALSE(find<QRadioButton>("Option1_0")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("Option1_1")->isChecked());
    EXPECT_EQ(find<QCheckBox>("Check1")->checkState(), Qt::Unchecked);
    EXPECT_EQ(find<QCheckBox>("Check2")->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->gridState().GridValid, kFalse);
    EXPECT_EQ(window->gridState().SignalKind, 0);
    EXPECT_EQ(pictureName(), "transforms1.wmf");
    EXPECT_TRUE(find<PictureBox>("Picture1")->hasPicture());
    EXPECT_TRUE(messages.messages.empty());
}

// The road of a typical request, key by key.
TEST_F(CalculatorWindowTest, TypicalRequestTypedKeyByKey) {
    auto* forward = find<QPushButton>("Command1");
    type("Text1", "1");
    EXPECT_FALSE(forward->isEnabled());  // N still missing
    type("Text2", "8");
    EXPECT_TRUE(forward->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Command2")->isEnabled());

    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.125");
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1");
    EXPECT_TRUE(find<QPushButton>("Command2")->isEnabled());  // the write of Text3 re-checked
    EXPECT_EQ(window->gridState().GridValid, kTrue);
    EXPECT_EQ(caption("Label2"), "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(caption("Label6"), "");
    EXPECT_EQ(caption("Label5"),
              "f_n = 0, 0.125GHz, ..., 0.375GHz, 0.5GHz, -0.375GHz, ..., -0.125GHz");

    click("Check2");
    EXPECT_EQ(pictureName(), "transforms2.wmf");
    EXPECT_EQ(caption("Label2"), "t_k = 0, 1ns, ..., 7ns");  // the summary is refreshed, not lost

    click("Command2");  // and back: Δt from Δf
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1");
    EXPECT_DOUBLE_EQ(window->gridState().TimeStep, 1e-9);
    EXPECT_TRUE(messages.messages.empty());

    // With a German locale the fields read and show a decimal comma; a save keeps the texts as
    // shown and writes the numbers with a period.
    struct RestoreLocale {
        QLocale before;
        ~RestoreLocale() { QLocale::setDefault(before); }
    } restore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    find<QLineEdit>("Text1")->clear();
    find<QLineEdit>("Text2")->clear();
    find<QComboBox>("Combo2")->setCurrentIndex(3);  // GHz
    type("Text1", "2,5");
    type("Text2", "8");
    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0,05");
    EXPECT_EQ(caption("Label2"), "t_k = 0, 2,5ns, ..., 17,5ns");
    const QString path = settings.folder() + "/komma.txt";
    FileDialogAnswer answer(path);
    window->mnuFileSaveAs_Click();
    std::ifstream saved(path.toStdString(), std::ios::binary);
    EXPECT_EQ(
        std::string(std::istreambuf_iterator<char>(saved), {}),
        "\"2,5\"\r\n\"8\"\r\n\"0,05\"\r\n2.5E-09\r\n8\r\n50000000\r\n3\r\n3\r\n\"N\"\r\n0\r\n1\r\n"
        "\"Y\"\r\n");
    EXPECT_TRUE(messages.messages.empty());
}

struct WorkedExample {
    const char* dt;
    int timeUnit;
    const char* n;
    int frequencyUnit;
    const char* label2;
    const char* label6;
    const char* label5;
};

TEST_F(CalculatorWindowTest, WorkedExamplesThroughTheWindow) {
    const WorkedExample examples[] = {
        {"1", 3, "8", 2, "t_k = 0, 1ns, ..., 7ns", "T = 8ns",
         "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz"},
        {"1", 3, "8", 3, "t_k = 0, 1ns, ..., 7ns", "T = 8ns",
         "f_n = 0, 0.125GHz, ..., 0.375GHz, 0.5GHz, -0.375GHz, ..., -0.125GHz"},
        {"1", 3, "5", 2, "t_k = 0, 1ns, ..., 4ns", "T = 5ns",
         "f_n = 0, 200MHz, ..., 400MHz, -400MHz, ..., -200MHz"},
        {"2.5", 2, "10", 1, "t_k = 0, 2.5us, ..., 22.5us", "T = 25us",
         "f_n = 0, 40KHz, ..., 160KHz, 200KHz, -160KHz, ..., -40KHz"},
    };
    for (const WorkedExample& example : examples) {
        SCOPED_TRACE(example.label5);
        find<QRadioButton>("Option1_0")->setChecked(true);
        find<QLineEdit>("Text1")->clear();
        find<QLineEdit>("Text2")->clear();
        find<QComboBox>("Combo1")->setCurrentIndex(example.timeUnit);
        find<QComboBox>("Combo2")->setCurrentIndex(example.frequencyUnit);
        type("Text1", example.dt);
        type("Text2", example.n);
        click("Command1");
        EXPECT_EQ(caption("Label2"), example.label2);
        EXPECT_EQ(caption("Label6"), "");
        EXPECT_EQ(caption("Label5"), example.label5);

        // The signal kind adds and removes the period line and leaves the rest alone.
        click("Option1_1");
        EXPECT_EQ(caption("Label6"), example.label6);
        EXPECT_EQ(caption("Label2"), example.label2);
        EXPECT_EQ(caption("Label5"), example.label5);
        click("Option1_0");
        EXPECT_EQ(caption("Label6"), "");
        EXPECT_EQ(caption("Label5"), example.label5);
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CalculatorWindowTest, UnitChangesAfterATransferRedisplayTheStoredSpacing) {
    type("Text1", "1");
    type("Text2", "8");
    find<QComboBox>("Combo2")->setCurrentIndex(2);  // MHz
    click("Command1");
    click("Option1_1");

    auto* timeUnits = find<QComboBox>("Combo1");
    QTest::keyClick(timeUnits, Qt::Key_Down);  // the user steps from "ns" to "ps"
    EXPECT_EQ(timeUnits->currentText(), "ps");
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1000");
    EXPECT_EQ(caption("Label2"), "t_k = 0, 1000ps, ..., 7000ps");
    EXPECT_EQ(caption("Label6"), "T = 8000ps");
    QTest::keyClick(timeUnits, Qt::Key_Up);
    QTest::keyClick(timeUnits, Qt::Key_Up);
    EXPECT_EQ(timeUnits->currentText(), "us");
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "0.001");
    EXPECT_DOUBLE_EQ(window->gridState().TimeStep, 1e-9);

    QTest::keyClick(find<QComboBox>("Combo2"), Qt::Key_Up);  // MHz to KHz
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "125000");
    EXPECT_EQ(caption("Label5"),
              "f_n = 0, 125000KHz, ..., 375000KHz, 500000KHz, -375000KHz, ..., -125000KHz");
}

TEST_F(CalculatorWindowTest, TypingAfterATransferClearsTheSummary) {
    type("Text1", "1");
    type("Text2", "8");
    click("Command1");
    ASSERT_FALSE(caption("Label2").isEmpty());

    type("Text1", "0");  // "10" now, one keystroke
    EXPECT_EQ(caption("Label2"), "");
    EXPECT_EQ(caption("Label5"), "");
    EXPECT_EQ(caption("Label6"), "");
    EXPECT_EQ(window->gridState().GridValid, kFalse);

    // The unit change no longer rewrites the typed number; the next transfer reads it anew.
    find<QComboBox>("Combo1")->setCurrentIndex(4);
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "10");
    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "12.5");  // 10 ps, N = 8: 12.5 GHz
}

// Qt's own setters, used by the program, run the handlers before they return.
TEST_F(CalculatorWindowTest, ProgramMadeChangesRunTheHandlers) {
    find<QLineEdit>("Text1")->setText("1");
    find<QLineEdit>("Text2")->setText("8");
    EXPECT_TRUE(find<QPushButton>("Command1")->isEnabled());  // Text*_Change ran CheckInputs
    click("Command1");
    ASSERT_EQ(window->gridState().GridValid, kTrue);

    find<QComboBox>("Combo1")->setCurrentIndex(4);  // Combo1_Click
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1000");
    find<QComboBox>("Combo2")->setCurrentIndex(2);  // Combo2_Click
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "125");

    find<QRadioButton>("Option1_1")->setChecked(true);  // Option1_Click(1)
    EXPECT_EQ(window->gridState().SignalKind, 1);
    EXPECT_EQ(caption("Label6"), "T = 8000ps");
    EXPECT_EQ(pictureName(), "transforms5.wmf");

    find<QCheckBox>("Check1")->setCheckState(Qt::Checked);  // Check1_Click
    EXPECT_EQ(pictureName(), "transforms7.wmf");
    find<QCheckBox>("Check2")->setCheckState(Qt::PartiallyChecked);  // Check2_Click
    EXPECT_EQ(pictureName(), "transforms8.wmf");

    find<QLineEdit>("Text2")->setText("9");  // any edit withdraws the summary
    EXPECT_EQ(caption("Label2"), "");
    EXPECT_EQ(window->gridState().GridValid, kFalse);
}

// The window interface as the menu-file reader uses it: unselect one button, select the other.
TEST_F(CalculatorWindowTest, OptionButtonsCanBeSetAndClearedThroughTheWindowInterface) {
    GridWindow& grid = window->gridWindow();
    grid.setOptionSelected(1, true);
    EXPECT_TRUE(grid.isOptionSelected(1));
    EXPECT_EQ(window->gridState().SignalKind, 1);

    grid.setOptionSelected(1, false);  // Qt alone would refuse to clear an exclusive button
    EXPECT_FALSE(grid.isOptionSelected(1));
    EXPECT_FALSE(grid.isOptionSelected(0));
    grid.setOptionSelected(0, true);
    EXPECT_TRUE(grid.isOptionSelected(0));
    EXPECT_EQ(window->gridState().SignalKind, 0);
    EXPECT_EQ(pictureName(), "transforms1.wmf");
    // The pair still excludes each other afterwards.
    click("Option1_1");
    EXPECT_FALSE(grid.isOptionSelected(0));

    grid.setCheckState(CheckBox::Check1, kGrayed);
    EXPECT_EQ(find<QCheckBox>("Check1")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(grid.checkState(CheckBox::Check1), kGrayed);
    grid.setCheckState(CheckBox::Check1, kChecked);
    EXPECT_EQ(find<QCheckBox>("Check1")->checkState(), Qt::Checked);
    click("Check1");  // a user's click leaves the greyed state out of the cycle
    EXPECT_EQ(grid.checkState(CheckBox::Check1), kUnchecked);
    click("Check1");
    EXPECT_EQ(grid.checkState(CheckBox::Check1), kChecked);
}

struct PictureCase {
    bool repetitive;
    Qt::CheckState normalization;
    Qt::CheckState sign;
    const char* picture;
};

TEST_F(CalculatorWindowTest, PictureFollowsTheSignalKindAndTheCheckBoxes) {
    const PictureCase cases[] = {
        {false, Qt::Unchecked, Qt::Unchecked, "transforms1.wmf"},
        {false, Qt::Unchecked, Qt::Checked, "transforms2.wmf"},
        {false, Qt::Checked, Qt::Unchecked, "transforms3.wmf"},
        {false, Qt::Checked, Qt::Checked, "transforms4.wmf"},
        {true, Qt::Unchecked, Qt::Unchecked, "transforms5.wmf"},
        {true, Qt::Unchecked, Qt::Checked, "transforms6.wmf"},
        {true, Qt::PartiallyChecked, Qt::Unchecked, "transforms7.wmf"},  // greyed counts as set
        {true, Qt::Checked, Qt::PartiallyChecked, "transforms8.wmf"},
        {false, Qt::PartiallyChecked, Qt::PartiallyChecked, "transforms4.wmf"},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.picture);
        find<QRadioButton>(c.repetitive ? "Option1_1" : "Option1_0")->setChecked(true);
        find<QCheckBox>("Check1")->setCheckState(c.normalization);
        find<QCheckBox>("Check2")->setCheckState(c.sign);
        EXPECT_EQ(pictureName(), c.picture);
        EXPECT_TRUE(find<PictureBox>("Picture1")->hasPicture());
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CalculatorWindowTest, ArithmeticFailureIsReportedAndTheWindowCarriesOn) {
    find<QComboBox>("Combo1")->setCurrentIndex(5);  // fs
    type("Text1", "1e-300");
    type("Text2", "8");
    click("Command1");

    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Quintrel");
    EXPECT_EQ(messages.messages[0].text,
              "Overflow: Δf = 1/(N·Δt) is beyond the range of double-precision numbers. Use a "
              "larger Δt or another unit.");
    EXPECT_EQ(messages.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "");  // stopped before writing
    EXPECT_EQ(caption("Label2"), "");
    EXPECT_EQ(window->gridState().GridValid, kFalse);

    find<QComboBox>("Combo1")->setCurrentIndex(1);  // ms: the same text now transfers
    click("Command1");
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "1.25E+293");
}

// A unit the stored spacing cannot be shown in is refused, and the list goes back to the unit the
// field's number is in, so the next transfer reads it as it was meant.
TEST_F(CalculatorWindowTest, ARefusedUnitChangePutsTheListBack) {
    auto* timeUnits = find<QComboBox>("Combo1");
    timeUnits->setCurrentIndex(0);
    type("Text1", "1e300");
    type("Text2", "8");
    click("Command1");
    const QString frequency = find<QLineEdit>("Text3")->text();
    const QString timeGrid = caption("Label2");

    timeUnits->setCurrentIndex(3);  // 1e300 s in ns is beyond a double
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith("Overflow"));
    EXPECT_EQ(timeUnits->currentIndex(), 0);
    EXPECT_EQ(timeUnits->currentText(), "s");
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1e300");
    EXPECT_EQ(window->gridState().GridValid, kTrue);
    EXPECT_EQ(caption("Label2"), timeGrid);

    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), frequency);
    EXPECT_EQ(messages.messages.size(), 1u);
}

// Typed or pasted into the edit part: an entry's exact text selects it and runs its handler;
// anything else leaves no selection, and the transfer says so.
TEST_F(CalculatorWindowTest, TheUnitShownIsTheUnitUsed) {
    type("Text1", "1");
    type("Text2", "8");
    click("Command1");
    auto* timeUnits = find<QComboBox>("Combo1");
    ctrlV(timeUnits->lineEdit(), "ps");  // a whole entry at once, as a choice from the list
    EXPECT_EQ(timeUnits->currentIndex(), 4);
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1000");  // Combo1_Click re-displayed Δt

    const struct {
        const char* typed;
        int index;
    } cases[] = {{"ms", 1}, {"xyz", -1}, {"\u00b5s", -1}, {"NS", -1}, {"fs", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        timeUnits->lineEdit()->selectAll();
        QTest::keyClicks(timeUnits->lineEdit(), QString::fromUtf8(c.typed));
        EXPECT_EQ(timeUnits->currentText(), QString::fromUtf8(c.typed));
        EXPECT_EQ(timeUnits->currentIndex(), c.index);
    }
    timeUnits->lineEdit()->selectAll();
    QTest::keyClicks(timeUnits->lineEdit(), "xyz");
    click("Command1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith("No time unit is selected"));
    EXPECT_EQ(messages.messages[0].icon, QMessageBox::Warning);

    auto* frequencyUnits = find<QComboBox>("Combo2");
    ctrlV(frequencyUnits->lineEdit(), "KHz");
    EXPECT_EQ(frequencyUnits->currentIndex(), 1);
    ctrlV(frequencyUnits->lineEdit(), "khz");
    EXPECT_EQ(frequencyUnits->currentIndex(), -1);
    EXPECT_EQ(frequencyUnits->currentText(), "khz");
}

TEST_F(CalculatorWindowTest, AFieldTheProgramWritesShowsItsStart) {
    type("Text3", "3");
    find<QComboBox>("Combo2")->setCurrentIndex(2);  // MHz
    type("Text2", "7");
    find<QComboBox>("Combo1")->setCurrentIndex(4);  // ps
    click("Command2");
    auto* time = find<QLineEdit>("Text1");
    EXPECT_EQ(time->text(), "47619.0476190476");
    EXPECT_EQ(time->cursorPosition(), 0);
    type("Text1", "5");  // the user's typing goes where the cursor is, and the cursor follows
    EXPECT_EQ(time->text(), "547619.0476190476");
    EXPECT_EQ(time->cursorPosition(), 1);

    time->setText("1");
    find<QComboBox>("Combo1")->setCurrentIndex(3);  // ns
    find<QComboBox>("Combo2")->setCurrentIndex(3);  // GHz
    find<QLineEdit>("Text2")->setText("6");
    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.166666666666667");
    EXPECT_EQ(find<QLineEdit>("Text3")->cursorPosition(), 0);
}

TEST_F(CalculatorWindowTest, APastedNumberMayEndInALineBreak) {
    ctrlV(find("Text1"), "1.5e-9\r\n");
    ctrlV(find("Text2"), "8\n");
    ASSERT_TRUE(find<QPushButton>("Command1")->isEnabled());
    find<QComboBox>("Combo1")->setCurrentIndex(0);  // s
    click("Command1");
    EXPECT_DOUBLE_EQ(window->gridState().TimeStep, 1.5e-9);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.0833333333333333");
}

TEST_F(CalculatorWindowTest, OpeningAFileAfterATransferShowsTheFilesTexts) {
    type("Text1", "1");
    type("Text2", "8");
    click("Command1");
    ASSERT_EQ(find<QLineEdit>("Text3")->text(), "0.125");

    // The same three texts as shown, Δf stored as 62.5 MHz, MHz selected, grid not valid.
    const QString path = settings.folder() + "/same-texts.txt";
    std::ofstream(path.toStdString(), std::ios::binary)
        << "\"1\"\r\n\"8\"\r\n\"0.125\"\r\n1E-09\r\n8\r\n62500000\r\n3\r\n2\r\n\"N\"\r\n0\r\n0\r\n"
           "\"N\"\r\n";
    FileDialogAnswer answer(path);
    window->mnuFileOpen_Click();
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.125");
    EXPECT_EQ(find<QComboBox>("Combo2")->currentText(), "MHz");
    EXPECT_EQ(window->gridState().GridValid, kFalse);
    EXPECT_EQ(caption("Label5"), "");
    EXPECT_TRUE(messages.messages.empty());
}

// Writing a field's unchanged text still runs CheckInputs: a file that fails after its first item
// withdraws the grid that was on screen, also when that item equals the text shown.
TEST_F(CalculatorWindowTest, AFailedReadOfTheShownTextWithdrawsTheSummary) {
    type("Text3", "333");
    find<QComboBox>("Combo2")->setCurrentIndex(0);
    find<QComboBox>("Combo1")->setCurrentIndex(1);
    type("Text2", "1000");
    click("Command2");
    ASSERT_EQ(find<QLineEdit>("Text1")->text(), "0.003003003003003");
    ASSERT_FALSE(caption("Label2").isEmpty());

    const QString path = settings.folder() + "/one-item.txt";
    std::ofstream(path.toStdString(), std::ios::binary) << "\"0.003003003003003\"\r\n";
    FileDialogAnswer answer(path);
    window->mnuFileOpen_Click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith("Error reading from menu file "));
    EXPECT_EQ(window->gridState().GridValid, kFalse);
    click("Option1_1");
    for (const char* label : {"Label2", "Label5", "Label6"}) {
        EXPECT_EQ(caption(label), "") << label;
    }
}

}  // namespace
}  // namespace quintrel::testing
