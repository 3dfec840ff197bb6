// The main window without a mouse: every key goes to the widget that has the focus, as it does
// for a keyboard user; the Tab order, the menus' access keys, and what the window tells a screen
// reader.
#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using KeyboardTest = WindowTest;

// The control that holds the focus; an editable list's text field holds it for its list.
QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    if (focus && qobject_cast<QComboBox*>(focus->parentWidget())) {
        focus = focus->parentWidget();
    }
    return focus ? focus->objectName() : QString();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

QString accessible(QWidget* widget, QAccessible::Text which) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(which) : QString();
}

TEST_F(KeyboardTest, TypicalRequestReverseAndConventionsWithKeysOnly) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(focusName(), "Option1_0");
    const auto tab = [](const char* expected, Qt::Key key = Qt::Key_Tab) {
        press(key);
        EXPECT_EQ(focusName(), expected);
    };
    const auto typeHere = [](const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
    };

    // The typical request: delta t 1 (ns), N 8, then Enter on ">>".
    tab("Option1_1");
    tab("Text1");
    typeHere("1");
    tab("Combo1");
    tab("Text3");
    tab("Combo2");
    tab("Text2");
    typeHere("8");
    tab("Command1");
    press(Qt::Key_Return);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "0.125");
    EXPECT_EQ(caption("Label2"), "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(focusName(), "Command1");

    // The reverse: back to delta f, a new value, on to "<<" and Space.
    tab("Text2", Qt::Key_Backtab);
    tab("Combo2", Qt::Key_Backtab);
    tab("Text3", Qt::Key_Backtab);
    press(Qt::Key_A, Qt::ControlModifier);
    typeHere("0.25");
    tab("Combo2");
    tab("Text2");
    tab("Command1");
    tab("Command2");
    press(Qt::Key_Space);
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "0.5");

    // Both conventions and the signal kind, each with Space.
    tab("Picture1");
    tab("Check1");
    press(Qt::Key_Space);
    EXPECT_EQ(pictureName(), "transforms3.wmf");
    tab("Check2");
    press(Qt::Key_Space);
    EXPECT_EQ(pictureName(), "transforms4.wmf");
    tab("Option1_0");
    tab("Option1_1");
    press(Qt::Key_Space);
    EXPECT_EQ(pictureName(), "transforms8.wmf");
    EXPECT_EQ(caption("Label6"), "T = 4ns");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(KeyboardTest, ControlsAreNamedAndThePictureDescribedInWords) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(accessible(widget, QAccessible::Name).isEmpty()) << name.toStdString();
        }
    }
    for (const char* field : {"Text1", "Text2", "Text3"}) {
        EXPECT_EQ(accessible(find(field), QAccessible::Description), find(field)->toolTip());
    }

    // Each of the eight pictures is told apart from the others, and the words follow the choices.
    QWidget* picture = find("Picture1");
    std::set<QString> descriptions{accessible(picture, QAccessible::Description)};
    EXPECT_TRUE(descriptions.begin()->startsWith("Formulas for a single pulse"));
    for (const char* name :
         {"Check2", "Check1", "Check2", "Option1_1", "Check2", "Check1", "Check2"}) {
        click(name);  // one choice at a time: pictures 2, 4, 3, 7, 8, 6 and 5
        descriptions.insert(accessible(picture, QAccessible::Description));
    }
    EXPECT_EQ(descriptions.size(), 8u);
    const QString last = accessible(picture, QAccessible::Description);
    EXPECT_EQ(pictureName(), "transforms5.wmf");
    EXPECT_TRUE(last.startsWith("Formulas for a repetitive signal")) << last.toStdString();
    EXPECT_TRUE(last.contains("usual sign convention")) << last.toStdString();
}

TEST_F(KeyboardTest, TabVisitsTheControlsInOrder) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option1_0");  // the first stop
    EXPECT_FALSE(find<QRadioButton>("Option1_0")->isChecked());  // focus alone selects nothing

    // On the empty window both transfer buttons are disabled, and Tab passes over them.
    find("Text2")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Picture1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text2");

    type("Text1", "1");
    type("Text2", "8");
    click("Command1");  // both transfer buttons enabled, so both take part
    find("Option1_0")->setFocus(Qt::OtherFocusReason);

    const QStringList expected{"Option1_1", "Text1",  "Combo1",   "Text3",
                               "Combo2",    "Text2",  "Command1", "Command2",
                               "Picture1",  "Check1", "Check2",   "Option1_0"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable list's text field holds the focus on behalf of its list.
        while (focus && !expected.contains(focus->objectName())) {
            focus = focus->parentWidget();
        }
        visited << (focus ? focus->objectName() : QStringLiteral("?"));
    }
    EXPECT_EQ(visited, expected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);  // and backwards
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Check2");
}

TEST_F(KeyboardTest, AltKeysOpenTheMenus) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const auto& [key, name] : {std::pair{Qt::Key_F, "mnuFile"}, {Qt::Key_H, "mnuHelp"}}) {
        QTest::keyClick(window.get(), key, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        EXPECT_EQ(QApplication::activePopupWidget()->objectName(), name);
        QApplication::activePopupWidget()->close();
    }

    // Alt+F, then A: Save As, whose dialog is cancelled.
    QStringList dialogs;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&dialogs] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogs << dialog->windowTitle();
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    cancel.start(5);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
    EXPECT_EQ(dialogs, QStringList{"Save Menu"});
    EXPECT_EQ(window->gridState().MenuFilePath, "");
}

// Access keys only: no item has a shortcut, and the separators are not items one can choose.
TEST_F(KeyboardTest, MenusHaveAccessKeysAndNoShortcuts) {
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    QStringList items;
    for (QAction* menu : top) {
        items << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            items << (item->isSeparator() ? QStringLiteral("-") : item->text());
            EXPECT_TRUE(item->shortcut().isEmpty()) << item->objectName().toStdString();
        }
    }
    EXPECT_EQ(items, QStringList({"&File", "&Open...", "&Save", "Save &As...", "-", "E&xit",
                                  "&Help", "&Contents", "&Search For Help On...", "-", "&About "}));
}

TEST_F(KeyboardTest, TheFocusStaysOnThePressedButton) {
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

}  // namespace
}  // namespace quintrel::testing
