// What the window shows against what the program holds: texts read from a menu file, units typed
// into the lists, the start of a written field, pasted numbers, the summary labels' fit, and where
// the focus stays after a transfer.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>

#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using MainWindowFieldsTest = WindowTest;

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

TEST_F(MainWindowFieldsTest, OpeningAFileAfterATransferShowsTheFilesTexts) {
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

// Typed or pasted into the edit part: an entry's exact text selects it and runs its handler;
// anything else leaves no selection, and the transfer says so.
TEST_F(MainWindowFieldsTest, TheUnitShownIsTheUnitUsed) {
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

TEST_F(MainWindowFieldsTest, AFieldTheProgramWritesShowsItsStart) {
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

TEST_F(MainWindowFieldsTest, APastedNumberMayEndInALineBreak) {
    ctrlV(find("Text1"), "1.5e-9\r\n");
    ctrlV(find("Text2"), "8\n");
    ASSERT_TRUE(find<QPushButton>("Command1")->isEnabled());
    find<QComboBox>("Combo1")->setCurrentIndex(0);  // s
    click("Command1");
    EXPECT_DOUBLE_EQ(window->gridState().TimeStep, 1.5e-9);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.0833333333333333");
}

TEST_F(MainWindowFieldsTest, TheFocusStaysOnThePressedButton) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    type("Text1", "1");
    type("Text2", "8");
    for (const char* name : {"Command1", "Command2", "Command1"}) {
        SCOPED_TRACE(name);
        auto* button = find<QPushButton>(name);
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
        EXPECT_EQ(window->gridState().GridValid, kTrue);
        EXPECT_EQ(QApplication::focusWidget(), button);
    }
}

// Across N and the units, a summary line either fits its label as Qt lays it out, or the label
// offers the whole line as its tooltip.
TEST_F(MainWindowFieldsTest, SummaryLinesFitOrCarryTheirTextAsTooltip) {
    type("Text1", "1.23456789012345");
    click("Option1_1");
    int tooltips = 0;
    for (const char* n : {"4", "6", "7", "8", "1000", "1024", "32766", "32767"}) {
        auto* points = find<QLineEdit>("Text2");
        points->setText(n);
        for (int i = 0; i < 6; ++i) {
            for (int j = 0; j < 5; ++j) {
                find<QComboBox>("Combo1")->setCurrentIndex(i);
                find<QComboBox>("Combo2")->setCurrentIndex(j);
                click("Command1");
                for (const char* name : {"Label2", "Label5", "Label6"}) {
                    auto* label = find<QLabel>(name);
                    SCOPED_TRACE(label->text().toStdString());
                    ASSERT_FALSE(label->text().isEmpty());
                    if (label->toolTip().isEmpty()) {
                        EXPECT_LE(label->heightForWidth(label->width()), label->height());
                    } else {
                        EXPECT_EQ(label->toolTip(), label->text());
                        ++tooltips;
                    }
                }
            }
        }
    }
    EXPECT_GT(tooltips, 0);  // the longest lines exist and were caught
    auto* label5 = find<QLabel>("Label5");
    EXPECT_GE(label5->height(), 3 * label5->fontMetrics().lineSpacing());
    EXPECT_LE(label5->geometry().bottom(), find<QWidget>("Frame1")->contentsRect().bottom());
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace quintrel::testing
