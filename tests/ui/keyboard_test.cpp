// The main window without a mouse: every key goes to the widget that has the focus, as it does
// for a keyboard user; and what the window tells a screen reader.
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <set>

#include "window_fixture.h"

namespace quintrel::testing {
namespace {

using KeyboardTest = WindowTest;

QString pictureName(const frmMain& window) {
    return window.picturePath().section(QLatin1Char('/'), -1);
}

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
    EXPECT_EQ(pictureName(*window), "transforms3.wmf");
    tab("Check2");
    press(Qt::Key_Space);
    EXPECT_EQ(pictureName(*window), "transforms4.wmf");
    tab("Option1_0");
    tab("Option1_1");
    press(Qt::Key_Space);
    EXPECT_EQ(pictureName(*window), "transforms8.wmf");
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
    EXPECT_EQ(pictureName(*window), "transforms5.wmf");
    EXPECT_TRUE(last.startsWith("Formulas for a repetitive signal")) << last.toStdString();
    EXPECT_TRUE(last.contains("usual sign convention")) << last.toStdString();
}

}  // namespace
}  // namespace quintrel::testing
