// The floor for the start-up benchmark: a bare Qt main window with the same number and kinds of
// controls as the program's, no pictures, no settings, started and measured the same way.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "first_paint.h"

namespace {

template <typename Widget>
Widget* at(QWidget* parent, int x, int y, int w, int h) {
    auto* widget = new Widget(parent);
    widget->setGeometry(x, y, w, h);
    return widget;
}

QComboBox* list(QWidget* parent, int x, const QStringList& items) {
    auto* combo = at<QComboBox>(parent, x, 24, 57, 21);
    combo->setEditable(true);
    combo->addItems(items);
    return combo;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quintrel::bench::FirstPaintReporter reporter;
    application.installEventFilter(&reporter);

    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("&Open...");
    file->addAction("&Save");
    file->addAction("Save &As...");
    file->addSeparator();
    file->addAction("E&xit");
    QMenu* help = window.menuBar()->addMenu("&Help");
    help->addAction("&Contents");
    help->addAction("&Search For Help On...");
    help->addSeparator();
    help->addAction("&About ");

    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    auto* time = at<QGroupBox>(client, 8, 8, 257, 141);
    time->setTitle("Temporal Representation");
    at<QLabel>(time, 8, 24, 41, 17)->setText("delta t");
    at<QLineEdit>(time, 48, 24, 138, 19);
    list(time, 193, {"s", "ms", "us", "ns", "ps", "fs"});
    at<QLabel>(time, 8, 56, 241, 17)->setText("Time points for numerical transforms:");
    at<QLabel>(time, 8, 72, 241, 26);
    at<QLabel>(time, 8, 98, 241, 17);
    at<QPushButton>(client, 272, 24, 33, 17)->setText(">>");
    at<QPushButton>(client, 272, 56, 33, 17)->setText("<<");
    auto* frequency = at<QGroupBox>(client, 312, 8, 257, 141);
    frequency->setTitle("Frequency-Domain Representation");
    at<QLabel>(frequency, 8, 24, 41, 17)->setText("delta f");
    at<QLineEdit>(frequency, 48, 24, 138, 19);
    list(frequency, 193, {"Hz", "KHz", "MHz", "GHz", "THz"});
    at<QLabel>(frequency, 8, 56, 233, 17)->setText("Frequency points for numerical transforms:");
    at<QLabel>(frequency, 8, 72, 241, 65);
    at<QLabel>(client, 8, 156, 97, 17)->setText("Number of points N");
    at<QLineEdit>(client, 120, 156, 73, 19);
    at<QWidget>(client, 8, 188, 561, 185);
    at<QRadioButton>(client, 8, 388, 209, 17)->setText("Single pulse with finite energy");
    at<QRadioButton>(client, 8, 404, 265, 17)
        ->setText("Repetative signal with period T and finite power");
    at<QCheckBox>(client, 304, 388, 265, 17)
        ->setText("Alternate normalization for numerical transforms");
    at<QCheckBox>(client, 304, 404, 265, 17)->setText("Alternate sign convention");
    window.statusBar()->addWidget(new QLabel("Status"), 1);
    window.statusBar()->addPermanentWidget(new QLabel("date"));
    window.statusBar()->addPermanentWidget(new QLabel("time"));
    window.resize(579, 462);
    window.show();
    return QApplication::exec();
}
