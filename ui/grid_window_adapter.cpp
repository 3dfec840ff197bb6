#include "ui/grid_window_adapter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "ui/frm_main.h"
#include "ui/summary_label.h"

namespace quintrel {

namespace {

// Check-box states as the handlers know them: 0 cleared, 1 ticked, 2 greyed.
int toHandlerState(Qt::CheckState state) {
    switch (state) {
        case Qt::Unchecked:
            return kUnchecked;
        case Qt::PartiallyChecked:
            return kGrayed;
        case Qt::Checked:
            break;
    }
    return kChecked;
}

Qt::CheckState toQtState(int state) {
    switch (state) {
        case kUnchecked:
            return Qt::Unchecked;
        case kGrayed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Checked;
    }
}

}  // namespace

QLineEdit* GridWindowAdapter::field(TextField which) const {
    switch (which) {
        case TextField::Text1:
            return m_form.Text1;
        case TextField::Text2:
            return m_form.Text2;
        case TextField::Text3:
            break;
    }
    return m_form.Text3;
}

QComboBox* GridWindowAdapter::list(UnitList which) const {
    return which == UnitList::Combo1 ? m_form.Combo1 : m_form.Combo2;
}

QCheckBox* GridWindowAdapter::box(CheckBox which) const {
    return which == CheckBox::Check1 ? m_form.Check1 : m_form.Check2;
}

std::string GridWindowAdapter::text(TextField which) const {
    return field(which)->text().toStdString();
}

void GridWindowAdapter::setText(TextField which, std::string_view text) {
    QLineEdit* edit = field(which);
    const QString newText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (edit->text() == newText) {
        // Qt sends no textChanged for the same text; the write still counts as an edit.
        switch (which) {
            case TextField::Text1:
                m_form.Text1_Change();
                break;
            case TextField::Text2:
                m_form.Text2_Change();
                break;
            case TextField::Text3:
                m_form.Text3_Change();
                break;
        }
    } else {
        edit->setText(newText);
    }
    // A text the program writes is read from its start, as a long result's leading digits matter
    // most; QLineEdit would leave the cursor, and the view, at the end.
    edit->setCursorPosition(0);
}

void GridWindowAdapter::setEnabled(TransferButton button, bool enabled) {
    (button == TransferButton::Command1 ? m_form.Command1 : m_form.Command2)->setEnabled(enabled);
}

void GridWindowAdapter::setCaption(SummaryLabel label, std::string_view caption) {
    QLabel* target = label == SummaryLabel::Label2   ? m_form.Label2
                     : label == SummaryLabel::Label5 ? m_form.Label5
                                                     : m_form.Label6;
    setSummaryText(*target,
                   QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

int GridWindowAdapter::selectedIndex(UnitList which) const {
    return list(which)->currentIndex();
}

void GridWindowAdapter::setSelectedIndex(UnitList which, int index) {
    list(which)->setCurrentIndex(index);
}

bool GridWindowAdapter::isOptionSelected(int index) const {
    return (index == 0 || index == 1) &&
           m_form.Option1[static_cast<std::size_t>(index)]->isChecked();
}

void GridWindowAdapter::setOptionSelected(int index, bool selected) {
    if (index != 0 && index != 1) {
        return;
    }
    QRadioButton* button = m_form.Option1[static_cast<std::size_t>(index)];
    if (selected || !button->isChecked()) {
        button->setChecked(selected);
        return;
    }
    // An exclusive button ignores being cleared on its own, which would leave the pair with the
    // old selection; lift the exclusivity for this one change.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

int GridWindowAdapter::checkState(CheckBox which) const {
    return toHandlerState(box(which)->checkState());
}

void GridWindowAdapter::setCheckState(CheckBox which, int state) {
    box(which)->setCheckState(toQtState(state));
}

bool GridWindowAdapter::loadPicture(const std::string& path) {
    return m_form.showFormulaPicture(QString::fromStdString(path));
}

std::string GridWindowAdapter::decimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}

}  // namespace quintrel
