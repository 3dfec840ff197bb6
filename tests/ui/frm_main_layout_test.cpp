// The main window's controls: where they sit, what they say, how they behave when the window is
// resized, and that their captions fit.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "ui/status_bar.h"
#include "widgets/twips.h"
#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using MainWindowLayoutTest = WindowTest;

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

TEST_F(MainWindowLayoutTest, ControlsSitAtTheirTwipsPositionsInsideTheirFrames) {
    for (const Placement& p : kControls) {
        QWidget* control = find(p.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), p.parent) << p.name;
        const QRect expected = twipsToPixels(*window, p.left, p.top, p.width, p.height);
        EXPECT_EQ(control->geometry(), expected) << p.name;
    }
}

TEST_F(MainWindowLayoutTest, ResizingMovesOnlyTheStatusBar) {
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

TEST_F(MainWindowLayoutTest, TipsListsAndFields) {
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
TEST_F(MainWindowLayoutTest, CaptionsFitTheirControls) {
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

TEST_F(MainWindowLayoutTest, StatusBarShowsStatusDateAndTime) {
    auto* bar = qobject_cast<StatusBar*>(window->statusBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "sbStatusBar");
    EXPECT_EQ(bar->statusPanel()->text(), "Status");
    EXPECT_EQ(bar->datePanel()->text(),
              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
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

TEST_F(MainWindowLayoutTest, WindowIconHasBothSizes) {
    const QIcon icon = window->windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    const QImage small = icon.pixmap(QSize(16, 16)).toImage();
    EXPECT_EQ(small.pixelColor(15, 15), QColor(Qt::white));  // on white
}

}  // namespace
}  // namespace quintrel::testing
