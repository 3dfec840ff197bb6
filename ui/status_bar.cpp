#include "ui/status_bar.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>

#include "widgets/twips.h"

namespace quintrel {

namespace {

constexpr int kPanelMinimumTwips = 1440;

QLabel* makePanel(QWidget* parent, const QString& objectName) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(objectName);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(twipsToPixelsX(*parent, kPanelMinimumTwips));
    return panel;
}

}  // namespace

StatusBar::StatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_status(makePanel(this, QStringLiteral("sbStatusBarPanel1"))),
      m_date(makePanel(this, QStringLiteral("sbStatusBarPanel2"))),
      m_time(makePanel(this, QStringLiteral("sbStatusBarPanel3"))),
      m_clock(this) {
    setObjectName(QStringLiteral("sbStatusBar"));
    setSizeGripEnabled(true);
    m_status->setText(QStringLiteral("Status"));
    // The text panel takes whatever width the date and time leave.
    addWidget(m_status, 1);
    addPermanentWidget(m_date);
    addPermanentWidget(m_time);

    m_clock.setSingleShot(true);
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &StatusBar::refresh);
    refresh();
}

void StatusBar::refresh() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_time->setText(locale.toString(now.time(), QLocale::ShortFormat));
    // Wake just past the next change of what the panels show: the next second where the
    // locale's short time shows seconds, the next minute otherwise.
    const bool showsSeconds = locale.timeFormat(QLocale::ShortFormat).contains(QLatin1Char('s'));
    const QTime t = now.time();
    const int msToNextSecond = 1000 - t.msec();
    const int msToNext = showsSeconds ? msToNextSecond : (59 - t.second()) * 1000 + msToNextSecond;
    m_clock.start(msToNext + 20);
}

}  // namespace quintrel
