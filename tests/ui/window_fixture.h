// Shared set-up for the window tests: a main window over a chosen picture folder, an empty settings
// store, and a catcher that answers the message boxes the window shows.
#pragma once

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "tests/support/qstring_printer.h"
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

// An empty per-user settings store for the test's lifetime, read and written without the program's
// help. On Windows the store is the registry key of the current user that Qt's native format
// uses; elsewhere it is a file in a fresh temporary folder.
class TemporarySettings {
  public:
    TemporarySettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        clear();
    }
    ~TemporarySettings() { clear(); }
    // A temporary folder that lives as long as the store.
    QString folder() const { return m_dir.path(); }
    QString value(const QString& key) const {
        return store()->value(QStringLiteral("Settings/") + key).toString();
    }
    void put(const QString& key, const QString& value) {
        store()->setValue(QStringLiteral("Settings/") + key, value);
    }
    void clear() { store()->remove(QString()); }
    // Makes the store refuse every write; false when this platform cannot be made to.
    bool block();

  private:
    std::unique_ptr<QSettings> store() const {
#ifdef _WIN32
        return std::make_unique<QSettings>(QString::fromLatin1(kRegistryKey),
                                           QSettings::NativeFormat);
#else
        return std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("Quintrel/Quintrel.conf")),
                                           QSettings::IniFormat);
#endif
    }
#ifdef _WIN32
    static constexpr const char* kRegistryKey = "HKEY_CURRENT_USER\\Software\\Quintrel\\Quintrel";
#endif
    QTemporaryDir m_dir;
};

#ifdef _WIN32
// The program's key made anew as a volatile key, which the registry lets have no lasting subkeys:
// the section the store writes into cannot be created.
inline bool TemporarySettings::block() {
    clear();
    HKEY key = nullptr;
    const LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quintrel\\Quintrel", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return status == ERROR_SUCCESS;
}
#else
// A plain file where the store's folder should be: nothing can be created below it.
inline bool TemporarySettings::block() {
    QDir(m_dir.filePath(QStringLiteral("Quintrel"))).removeRecursively();
    QFile blocker(m_dir.filePath(QStringLiteral("Quintrel")));
    return blocker.open(QIODevice::WriteOnly);
}
#endif

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
    QString pictureName() const { return QFileInfo(window->picturePath()).fileName(); }

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
