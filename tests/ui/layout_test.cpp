// The main window's controls: where they sit, what they say, how they behave when the window is
// resized, and that every text fits: the captions, and the longest numbers and summary lines the
// program can write.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "data/icons/quintrel16.xpm"
#include "data/icons/quintrel32.xpm"
#include "data/icons/quintrel48.xpm"
#include "data/icons/quintrel64.xpm"
#include "ui/status_bar.h"
#include "widgets/twips.h"
#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using LayoutTest = WindowTest;

struct Placement {
    const char* name;
    const char* parent;
    int left, top, width, height;  // twips, relative to the parent
};

constexpr Placement kControls[] = {
    {"FrameTD", "frmMainClient", 120, 120, 3855, 2115},
    {"Label1", "FrameTD", 120, 360, 615, 255},
    {"Text1", "FrameTD", 720, 360, 2070, 285},
    {"Combo1", "FrameTD", 2895, 360, 855, 315},
    {"Label7", "FrameTD", 120, 840, 3615, 255},
    {"Label2", "FrameTD", 120, 1080, 3615, 390},
    {"Label6", "FrameTD", 120, 1470, 3615, 255},
    {"Command1", "frmMainClient", 4080, 360, 495, 255},
    {"Command2", "frmMainClient", 4080, 840, 495, 255},
    {"Frame1", "frmMainClient", 4680, 120, 3855, 2115},
    {"Label3", "Frame1", 120, 360, 615, 255},
    {"Text3", "Frame1", 720, 360, 2070, 285},
    {"Combo2", "Frame1", 2895, 360, 855, 315},
    {"Label8", "Frame1", 120, 840, 3495, 255},
    {"Label5", "Frame1", 120, 1080, 3615, 975},
    {"Label4", "frmMainClient", 120, 2340, 1455, 255},
    {"Text2", "frmMainClient", 1800, 2340, 1095, 285},
    {"Picture1", "frmMainClient", 120, 2820, 8415, 2775},
    {"Option1_0", "frmMainClient", 120, 5820, 3135, 255},
    {"Option1_1", "frmMainClient", 120, 6060, 3975, 255},
    {"Check1", "frmMainClient", 4560, 5820, 3975, 255},
    {"Check2", "frmMainClient", 4560, 6060, 3975, 255},
};

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

TEST_F(LayoutTest, ControlsSitAtTheirTwipsPositionsInsideTheirFrames) {
    for (const Placement& p : kControls) {
        QWidget* control = find(p.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), p.parent) << p.name;
        const QRect expected = twipsToPixels(*window, p.left, p.top, p.width, p.height);
        EXPECT_EQ(control->geometry(), expected) << p.name;
    }
}

TEST_F(LayoutTest, ResizingMovesOnlyTheStatusBar) {
    QHash<QString, QRect> before;
    for (const Placement& p : kControls) {
        before.insert(p.name, find(p.name)->geometry());
    }
    for (const QSize size : {window->size() + QSize(200, 150), window->size() - QSize(150, 100)}) {
        window->resize(size);
        QTest::qWait(1);
        for (const Placement& p : kControls) {
            EXPECT_EQ(find(p.name)->geometry(), before.value(p.name)) << p.name;
        }
        QStatusBar* bar = window->statusBar();
        const QRect barRect = bar->geometry();
        EXPECT_EQ(barRect.bottom(), window->rect().bottom());
        EXPECT_EQ(barRect.width(), window->width());
    }
}

TEST_F(LayoutTest, TipsListsAndFields) {
    EXPECT_EQ(find("Text1")->toolTip(), "The difference between time points.");
    EXPECT_EQ(find("Text3")->toolTip(), "The difference between frequency points");
    EXPECT_EQ(find("Text2")->toolTip(),
              "The number of points in the discretized version of the Fourier Transform. This "
              "must be an integer greater than 3.");
    int withTips = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        withTips += widget->toolTip().isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(withTips, 3);

    // The unit lists: editable, the table's entries with their positions as item data.
    const QStringList times{"s", "ms", "us", "ns", "ps", "fs"};
    auto* combo = find<QComboBox>("Combo1");
    EXPECT_TRUE(combo->isEditable());
    ASSERT_EQ(combo->count(), times.size());
    for (int i = 0; i < combo->count(); ++i) {
        EXPECT_EQ(combo->itemText(i), times[i]);
        EXPECT_EQ(combo->itemData(i).toInt(), i);
    }
    EXPECT_EQ(find<QComboBox>("Combo2")->itemText(1), "KHz");

    // No length limit on the fields.
    const QString longText(100000, QLatin1Char('7'));
    find<QLineEdit>("Text2")->setText(longText);
    EXPECT_EQ(find<QLineEdit>("Text2")->text().size(), longText.size());
}

// Every caption is readable in full at its design size with the window's font.
TEST_F(LayoutTest, CaptionsFitTheirControls) {
    // The longest summary a common request gives.
    type("Text1", "2.5");
    find<QComboBox>("Combo1")->setCurrentIndex(2);
    find<QComboBox>("Combo2")->setCurrentIndex(1);
    type("Text2", "10");
    click("Command1");
    click("Option1_1");

    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8"}) {
        auto* label = find<QLabel>(name);
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000),
                                                               Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->width()) << name;
        // Rendered with room to spare, the ink must end inside the design height.
        const int height = label->height();
        label->resize(label->width(), height + 40);
        const QImage image = label->grab().toImage();
        label->resize(label->width(), height);
        int lastInkRow = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    lastInkRow = y;
                }
            }
        }
        EXPECT_LT(lastInkRow * (height + 40) / image.height(), height) << name;
    }
    for (const char* name : {"Option1_0", "Option1_1", "Check1", "Check2"}) {
        QWidget* button = find(name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << name;
        EXPECT_LE(button->fontMetrics().height(), button->height()) << name;
    }
    for (const char* name : {"Command1", "Command2"}) {
        auto* button = find<QPushButton>(name);
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width()) << name;
    }
    for (const char* name : {"FrameTD", "Frame1"}) {
        auto* frame = find<QGroupBox>(name);
        EXPECT_LT(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width()) << name;
    }
}

TEST_F(LayoutTest, StatusBarShowsStatusDateAndTime) {
    auto* bar = qobject_cast<StatusBar*>(window->statusBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "sbStatusBar");
    EXPECT_EQ(bar->statusPanel()->text(), "Status");
    // Today's date, read back in the locale's short form, where a two-digit year reads as 19yy;
    // yesterday's when midnight passed since the window opened.
    const QString dateText = bar->datePanel()->text();
    QDate shown = QLocale().toDate(dateText, QLocale::ShortFormat);
    ASSERT_TRUE(shown.isValid()) << dateText.toStdString();
    const QDate today = QDate::currentDate();
    shown = shown.addYears((today.year() - shown.year()) / 100 * 100);
    EXPECT_TRUE(shown == today || shown == today.addDays(-1)) << dateText.toStdString();
    EXPECT_FALSE(bar->timePanel()->text().isEmpty());
    const int minimum = twipsToPixelsX(*window, 1440);
    for (QLabel* panel : {bar->statusPanel(), bar->datePanel(), bar->timePanel()}) {
        EXPECT_GE(panel->width(), minimum) << panel->objectName().toStdString();
    }
    // The clock waits at most a minute for its next refresh, and at most a second when the
    // time shows seconds.
    auto* clock = bar->findChild<QTimer*>();
    ASSERT_NE(clock, nullptr);
    EXPECT_TRUE(clock->isActive());
    const bool seconds = QLocale().timeFormat(QLocale::ShortFormat).contains('s');
    EXPECT_LE(clock->remainingTime(), seconds ? 1'100 : 60'100);
}

// The two sizes of the design and the two for screens at 1.5 and 2 times 96 dpi, each the image
// drawn for it.
TEST_F(LayoutTest, WindowIconHasItsFourSizes) {
    const QIcon icon = window->windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    const std::pair<int, const char* const*> drawn[] = {
        {16, quintrel16_xpm}, {32, quintrel32_xpm}, {48, quintrel48_xpm}, {64, quintrel64_xpm}};
    for (const auto& [side, image] : drawn) {
        EXPECT_EQ(
            icon.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_RGB32),
            QImage(image).convertToFormat(QImage::Format_RGB32))
            << side;
    }
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    EXPECT_EQ(small.pixelColor(15, 15), QColor(Qt::white));  // on white
}

// The longest texts the program can write are readable whole: the fields hold the widest number,
// and the summary labels the longest lines, built from the widest numbers in the widest units.
TEST_F(LayoutTest, TheLongestTextsShowWhole) {
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
TEST_F(LayoutTest, SummaryLinesOfRealRequestsFit) {
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
