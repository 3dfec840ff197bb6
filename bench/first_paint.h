// For the start-up benchmark: reports the first paint of a top-level window on standard output
// and ends the program once that frame has been drawn.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace quintrel::bench {

class FirstPaintReporter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            // The rest of the frame (the children) is painted within the same pass; report once
            // it is over.
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }

  private:
    bool m_seen = false;
};

}  // namespace quintrel::bench
