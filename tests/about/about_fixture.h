// Shared by the Help and About tests: a catcher for the message boxes the commands show, a
// registry the tests fill in, and a program starter that only records.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "about/sys_info.h"
#include "tests/support/qstring_printer.h"
#include "platform/registry/registry.h"

namespace quintrel::testing {

struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Closes every message box that opens while it lives, keeping what it showed.
class MessageBoxes {
  public:
    MessageBoxes() {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.push_back(
                    {box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
                box->accept();
            }
        });
        m_timer.start();
    }
    // Exactly one box was shown since the last check, with these texts, the icon and OK only.
    void expectOne(const QString& title, const QString& text,
                   QMessageBox::Icon icon = QMessageBox::NoIcon) {
        ASSERT_EQ(shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(shown[0].title, title);
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].icon, icon);
        EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
        shown.clear();
    }
    std::vector<Shown> shown;

  private:
    QTimer m_timer;
};

// Keys and values as the tests lay them out; keeps count of what was opened and closed.
class FakeRegistry : public registry::Registry {
  public:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    // key path -> value name -> value
    std::map<std::string, std::map<std::string, Value>> keys;
    std::vector<std::string> opened;
    std::vector<std::uint32_t> access;
    int open = 0;

    long RegOpenKeyExA(registry::RootKey root, const std::string& subKey, std::uint32_t,
                       std::uint32_t rights, registry::KeyHandle& result) override {
        opened.push_back(subKey);
        access.push_back(rights);
        auto key = keys.find(subKey);
        if (root != registry::kHkeyLocalMachine || key == keys.end()) {
            return registry::kErrorFileNotFound;
        }
        ++open;
        result = reinterpret_cast<registry::KeyHandle>(&key->second);
        return registry::kErrorSuccess;
    }
    long RegQueryValueExA(registry::KeyHandle key, const std::string& name, std::uint32_t& type,
                          std::span<std::uint8_t> data, std::uint32_t& size) override {
        const auto& values = *reinterpret_cast<std::map<std::string, Value>*>(key);
        const auto value = values.find(name);
        if (value == values.end()) {
            return registry::kErrorFileNotFound;
        }
        type = value->second.type;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        if (value->second.bytes.size() > data.size()) {
            return registry::kErrorMoreData;
        }
        std::memcpy(data.data(), value->second.bytes.data(), value->second.bytes.size());
        return registry::kErrorSuccess;
    }
    long RegCloseKey(registry::KeyHandle) override {
        --open;
        return registry::kErrorSuccess;
    }
};

class RecordingStarter : public ProgramStarter {
  public:
    bool start(const QString& path) override {
        started.push_back(path);
        return succeeds;
    }
    std::vector<QString> started;
    bool succeeds = true;
};

}  // namespace quintrel::testing
