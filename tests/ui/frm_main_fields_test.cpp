// What the window shows against what the program holds: texts read from a menu file, units typed
// into the lists, the start of a written field, pasted numbers, the summary labels' fit, and where
// the focus stays after a transfer.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
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

// Writing a field's unchanged text still runs CheckInputs: a file that fails after its first item
// withdraws the grid that was on screen, also when that item equals the text shown.
TEST_F(MainWindowFieldsTest, AFailedReadOfTheShownTextWithdrawsTheSummary) {
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

// A unit the stored spacing cannot be shown in is refused, and the list goes back to the unit the
// field's number is in, so the next transfer reads it as it was meant.
TEST_F(MainWindowFieldsTest, ARefusedUnitChangePutsTheListBack) {
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

// The widest number FormatGeneral writes: 15 significant digits, an exponent sign and three
// exponent digits, every digit the font's widest.
QString widestNumber(const QFontMetrics& metrics, const QString& sign) {
    QChar digit = u'0';
    for (QChar candidate = u'1'; candidate <= u'9'; candidate = QChar(candidate.unicode() + 1)) {
        if (metrics.horizontalAdvance(candidate) > metrics.horizontalAdvance(digit)) {
            digit = candidate;
        }
    }
    const QString separator = QLocale().decimalPoint();
    return sign + digit + separator + QString(14, digit) + "E+" + QString(3, digit);
}

// True when the field shows its whole text: with the cursor at the end, the start is still in view.
bool showsWhole(QLineEdit& field, const QString& text) {
    field.setText(text);
    field.setCursorPosition(static_cast<int>(text.size()));
    field.grab();  // the field scrolls its view when it paints
    const QRect shown = field.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return field.cursorPositionAt(QPoint(field.contentsRect().left() + 4, field.height() / 2)) ==
               0 &&
           shown.right() <= field.contentsRect().right();
}

// A summary line fits its label when Qt's wrapping at blanks needs no more than the label's height.
void expectFits(QLabel& label) {
    SCOPED_TRACE(label.objectName().toStdString() + ": " + label.text().toStdString());
    EXPECT_FALSE(label.text().isEmpty());
    EXPECT_LE(label.heightForWidth(label.width()), label.height());
    EXPECT_TRUE(label.toolTip().isEmpty());
}

// The longest texts the program can write are readable whole: the fields hold the widest number,
// and the summary labels the longest lines, built from the widest numbers in the widest units.
TEST_F(MainWindowFieldsTest, TheLongestTextsShowWhole) {
    for (const char* name : {"Text1", "Text3"}) {
        auto* field = find<QLineEdit>(name);
        EXPECT_TRUE(showsWhole(*field, widestNumber(field->fontMetrics(), ""))) << name;
        field->clear();
    }
    // Where the program writes such numbers: "<<" and a unit change, and ">>" from 1e300 s.
    type("Text3", "3");
    type("Text2", "1000");
    click("Command2");
    find<QComboBox>("Combo1")->setCurrentIndex(0);
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "3.33333333333333E-13");
    find<QLineEdit>("Text1")->setText("1e300");
    find<QLineEdit>("Text2")->setText("32767");
    click("Command1");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "3.05185094783571E-314");

    const QFontMetrics metrics = find<QLabel>("Label5")->fontMetrics();
    const QString plus = widestNumber(metrics, "");
    const QString minus = widestNumber(metrics, "-");
    for (const char* unit : {"s", "ms", "us", "ns", "ps", "fs"}) {
        window->gridWindow().setCaption(
            SummaryLabel::Label2,
            ("t_k = 0, " + plus + unit + ", ..., " + plus + unit).toStdString());
        window->gridWindow().setCaption(SummaryLabel::Label6, ("T = " + plus + unit).toStdString());
        expectFits(*find<QLabel>("Label2"));
        expectFits(*find<QLabel>("Label6"));
    }
    for (const char* unit : {"Hz", "KHz", "MHz", "GHz", "THz"}) {
        const QString n = plus + unit;
        window->gridWindow().setCaption(SummaryLabel::Label5,
                                        ("f_n = 0, " + n + ", ..., " + n + ", " + n + ", " + minus +
                                         unit + ", ..., " + minus + unit)
                                            .toStdString());
        expectFits(*find<QLabel>("Label5"));
    }
    for (const char* name : {"Label2", "Label6", "Label5"}) {
        QWidget* label = find(name);
        EXPECT_LE(label->geometry().bottom(), label->parentWidget()->contentsRect().bottom())
            << name;
    }
}

// Real requests whose frequency line once lost its end, and a sweep over N and the units.
TEST_F(MainWindowFieldsTest, SummaryLinesOfRealRequestsFit) {
    click("Option1_1");
    const auto request = [this](const char* dt, int timeUnit, const char* n, int frequencyUnit) {
        find<QLineEdit>("Text1")->setText(dt);
        find<QLineEdit>("Text2")->setText(n);
        find<QComboBox>("Combo1")->setCurrentIndex(timeUnit);
        find<QComboBox>("Combo2")->setCurrentIndex(frequencyUnit);
        click("Command1");
        for (const char* name : {"Label2", "Label5", "Label6"}) {
            expectFits(*find<QLabel>(name));
        }
    };
    request("1", 3, "7", 2);
    EXPECT_TRUE(caption("Label5").endsWith("-142.857142857143MHz"));
    request("1e300", 0, "32767", 3);
    request("7.77777", 5, "32765", 4);
    for (const char* n : {"4", "7", "1000", "32766", "32767"}) {
        for (int i = 0; i < 6; ++i) {
            for (int j = 0; j < 5; ++j) {
                request("1.23456789012345", i, n, j);
            }
        }
    }
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace quintrel::testing
