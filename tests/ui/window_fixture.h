// Shared set-up for the window tests: a main window over a chosen picture folder, a settings store
// in a temporary folder, and a catcher that answers the message boxes the window shows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/frm_main.h"

namespace quintrel::testing {

struct CaughtMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Accepts every modal message box that opens while it lives and keeps its title and text.
class MessageCatcher {
  public:
    MessageCatcher() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back({box->windowTitle(), box->text(), box->icon()});
                box->accept();
            }
        });
        m_timer.start();
    }
    std::vector<CaughtMessage> messages;

  private:
    QTimer m_timer;
};

// Points the per-user settings store at a fresh temporary folder for the test's lifetime.
class TemporarySettings {
  public:
    TemporarySettings() { pointAt(m_dir.path()); }
    static void pointAt(const QString& folder) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    }
    QString folder() const { return m_dir.path(); }
    // The store as a plain file, read without the program's help.
    QString value(const QString& key) const {
        QSettings file(m_dir.filePath(QStringLiteral("Quintrel/Quintrel.conf")),
                       QSettings::IniFormat);
        return file.value(QStringLiteral("Settings/") + key).toString();
    }

  private:
    QTemporaryDir m_dir;
};

class WindowTest : public ::testing::Test {
  protected:
    // The folder the build puts the formula pictures in.
    static QString pictureFolder() { return QStringLiteral(QUINTREL_APP_DIR); }

    void SetUp() override { open(pictureFolder()); }

    void open(const QString& folder) {
        window = std::make_unique<frmMain>(folder);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename Widget = QWidget>
    Widget* find(const char* name) const {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString caption(const char* label) const { return find<QLabel>(label)->text(); }

    // The file name of the formula picture last asked for.
    QString pictureName() const { return window->picturePath().section(QLatin1Char('/'), -1); }

    // Types text at the end of a field, key by key.
    void type(const char* name, const QString& text) {
        auto* edit = find(name);
        QTest::keyClicks(edit, text);
    }

    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }

    TemporarySettings settings;
    MessageCatcher messages;
    std::unique_ptr<frmMain> window;
};

}  // namespace quintrel::testing
