// The main window's status bar: a "Status" panel, then date and time panels that keep themselves
// current.
#pragma once

#include <QStatusBar>
#include <QTimer>

class QLabel;

namespace quintrel {

class StatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit StatusBar(QWidget* parent = nullptr);

    QLabel* statusPanel() const { return m_status; }
    QLabel* datePanel() const { return m_date; }
    QLabel* timePanel() const { return m_time; }

  private:
    // Writes the current date and time and waits for the next change of either.
    void refresh();

    QLabel* m_status;
    QLabel* m_date;
    QLabel* m_time;
    QTimer m_clock;
};

}  // namespace quintrel
