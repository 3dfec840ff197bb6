// The main window driven as a user drives it: typing, pressing, choosing; and the program-made
// changes that must run the same handlers.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "core/grid_error.h"
#include "platform/wmf/picture_box.h"
#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using MainWindowTest = WindowTest;

QString pictureName(const frmMain& window) {
    return window.picturePath().section(QLatin1Char('/'), -1);
}

TEST_F(MainWindowTest, StartsInTheDocumentedState) {
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
    EXPECT_EQ(pictureName(*window), "transforms1.wmf");
    EXPECT_TRUE(find<PictureBox>("Picture1")->hasPicture());
    EXPECT_TRUE(messages.messages.empty());
}

// The road of a typical request, key by key.
TEST_F(MainWindowTest, TypicalRequestTypedKeyByKey) {
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
    EXPECT_EQ(pictureName(*window), "transforms2.wmf");
    EXPECT_EQ(caption("Label2"), "t_k = 0, 1ns, ..., 7ns");  // the summary is refreshed, not lost

    click("Command2");  // and back: Δt from Δf
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "1");
    EXPECT_DOUBLE_EQ(window->gridState().TimeStep, 1e-9);
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

TEST_F(MainWindowTest, WorkedExamplesThroughTheWindow) {
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

TEST_F(MainWindowTest, UnitChangesAfterATransferRedisplayTheStoredSpacing) {
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

TEST_F(MainWindowTest, TypingAfterATransferClearsTheSummary) {
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
TEST_F(MainWindowTest, ProgramMadeChangesRunTheHandlers) {
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
    EXPECT_EQ(pictureName(*window), "transforms5.wmf");

    find<QCheckBox>("Check1")->setCheckState(Qt::Checked);  // Check1_Click
    EXPECT_EQ(pictureName(*window), "transforms7.wmf");
    find<QCheckBox>("Check2")->setCheckState(Qt::PartiallyChecked);  // Check2_Click
    EXPECT_EQ(pictureName(*window), "transforms8.wmf");

    find<QLineEdit>("Text2")->setText("9");  // any edit withdraws the summary
    EXPECT_EQ(caption("Label2"), "");
    EXPECT_EQ(window->gridState().GridValid, kFalse);
}

// The window interface as the menu-file reader uses it: unselect one button, select the other.
TEST_F(MainWindowTest, OptionButtonsCanBeSetAndClearedThroughTheWindowInterface) {
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
    EXPECT_EQ(pictureName(*window), "transforms1.wmf");
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

TEST_F(MainWindowTest, PictureFollowsTheSignalKindAndTheCheckBoxes) {
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
        EXPECT_EQ(pictureName(*window), c.picture);
        EXPECT_TRUE(find<PictureBox>("Picture1")->hasPicture());
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, ArithmeticFailureIsReportedAndTheWindowCarriesOn) {
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

TEST_F(MainWindowTest, TabVisitsTheControlsInOrder) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option1_0");  // the first stop
    EXPECT_FALSE(find<QRadioButton>("Option1_0")->isChecked());  // focus alone selects nothing

    type("Text1", "1");
    type("Text2", "8");
    click("Command1");  // both transfer buttons enabled, so both take part
    find("Option1_0")->setFocus(Qt::OtherFocusReason);

    const QStringList expected{"Option1_1", "Text1",  "Combo1",   "Text3",
                               "Combo2",    "Text2",  "Command1", "Command2",
                               "Picture1",  "Check1", "Check2",   "Option1_0"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable list's text field holds the focus on behalf of its list.
        while (focus && !expected.contains(focus->objectName())) {
            focus = focus->parentWidget();
        }
        visited << (focus ? focus->objectName() : QStringLiteral("?"));
    }
    EXPECT_EQ(visited, expected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);  // and backwards
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Check2");
}

TEST_F(MainWindowTest, AltKeysOpenTheMenus) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const auto& [key, name] : {std::pair{Qt::Key_F, "mnuFile"}, {Qt::Key_H, "mnuHelp"}}) {
        QTest::keyClick(window.get(), key, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        EXPECT_EQ(QApplication::activePopupWidget()->objectName(), name);
        QApplication::activePopupWidget()->close();
    }
}

// Access keys only: no item has a shortcut, and the separators are not items one can choose.
TEST_F(MainWindowTest, MenusHaveAccessKeysAndNoShortcuts) {
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    QStringList items;
    for (QAction* menu : top) {
        items << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            items << (item->isSeparator() ? QStringLiteral("-") : item->text());
            EXPECT_TRUE(item->shortcut().isEmpty()) << item->objectName().toStdString();
        }
    }
    EXPECT_EQ(items, QStringList({"&File", "&Open...", "&Save", "Save &As...", "-", "E&xit",
                                  "&Help", "&Contents", "&Search For Help On...", "-", "&About "}));
}

}  // namespace
}  // namespace quintrel::testing
