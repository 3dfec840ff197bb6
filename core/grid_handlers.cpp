#include "core/grid_handlers.h"

#include <cmath>
#include <filesystem>
#include <utility>

#include "core/formula_picture.h"
#include "core/grid_summary.h"
#include "core/number_text.h"
#include "core/units.h"

namespace quintrel {

namespace {

// 1 / divisor, tested like every quotient of the grid arithmetic.
std::optional<GridError> checkQuotient(double divisor, double result) {
    if (divisor == 0.0) {
        return GridError::DivisionByZero;
    }
    return checkProduct(result);
}

bool validTimeUnit(int i) {
    return timeUnitText(i).has_value();
}
bool validFrequencyUnit(int j) {
    return frequencyUnitText(j).has_value();
}

}  // namespace

GridHandlers::GridHandlers(GridWindow& window, GridState& state, std::string folder)
    : m_window(window), m_state(state), m_folder(std::move(folder)) {}

bool GridHandlers::Form_Load() {
    m_window.setEnabled(TransferButton::Command1, false);
    m_window.setEnabled(TransferButton::Command2, false);
    // Selecting from code runs Combo1_Click/Combo2_Click, which change nothing while GridValid
    // is false, as it is at launch.
    m_window.setSelectedIndex(UnitList::Combo1, kStartUnitIndex);
    m_window.setSelectedIndex(UnitList::Combo2, kStartUnitIndex);
    m_window.setCaption(SummaryLabel::Label2, "");
    m_window.setCaption(SummaryLabel::Label5, "");
    m_window.setCaption(SummaryLabel::Label6, "");
    m_state.GridValid = kFalse;
    m_state.SignalKind = 0;
    return m_window.loadPicture(picturePath(1));
}

GridResult GridHandlers::Command1_Click() {
    const std::string separator = m_window.decimalSeparator();
    const std::optional<double> points = ParseNumber(m_window.text(TextField::Text2), separator);
    if (!points) {
        return GridError::TypeMismatch;
    }
    m_state.PointCount = *points;

    const int i = m_window.selectedIndex(UnitList::Combo1);
    if (!validTimeUnit(i)) {
        return GridError::NoTimeUnit;
    }
    // The field is read before the scale is computed.
    const std::optional<double> typed = ParseNumber(m_window.text(TextField::Text1), separator);
    if (!typed) {
        return GridError::TypeMismatch;
    }
    const double timeStep = *typed * timeInputScale(i);
    if (auto error = checkProduct(timeStep)) {
        return *error;
    }
    m_state.TimeStep = timeStep;

    const double product = m_state.TimeStep * m_state.PointCount;
    if (auto error = checkProduct(product)) {
        return *error;
    }
    const double frequencyStep = 1.0 / product;
    if (auto error = checkQuotient(product, frequencyStep)) {
        return *error;
    }
    m_state.FrequencyStep = frequencyStep;

    const int j = m_window.selectedIndex(UnitList::Combo2);
    if (!validFrequencyUnit(j)) {
        return GridError::NoFrequencyUnit;
    }
    const double shown = frequencyDisplayScale(j) * m_state.FrequencyStep;
    if (auto error = checkProduct(shown)) {
        return *error;
    }
    // The write runs CheckInputs, which clears GridValid; so GridValid is set only afterwards.
    m_window.setText(TextField::Text3, FormatGeneral(shown, separator));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

GridResult GridHandlers::Command2_Click() {
    const std::string separator = m_window.decimalSeparator();
    const std::optional<double> points = ParseNumber(m_window.text(TextField::Text2), separator);
    if (!points) {
        return GridError::TypeMismatch;
    }
    m_state.PointCount = *points;

    const int j = m_window.selectedIndex(UnitList::Combo2);
    if (!validFrequencyUnit(j)) {
        return GridError::NoFrequencyUnit;
    }
    const std::optional<double> typed = ParseNumber(m_window.text(TextField::Text3), separator);
    if (!typed) {
        return GridError::TypeMismatch;
    }
    const double frequencyStep = *typed * frequencyInputScale(j);
    if (auto error = checkProduct(frequencyStep)) {
        return *error;
    }
    m_state.FrequencyStep = frequencyStep;

    const double product = m_state.FrequencyStep * m_state.PointCount;
    if (auto error = checkProduct(product)) {
        return *error;
    }
    const double timeStep = 1.0 / product;
    if (auto error = checkQuotient(product, timeStep)) {
        return *error;
    }
    m_state.TimeStep = timeStep;

    const int i = m_window.selectedIndex(UnitList::Combo1);
    if (!validTimeUnit(i)) {
        return GridError::NoTimeUnit;
    }
    const double shown = timeDisplayScale(i) * m_state.TimeStep;
    if (auto error = checkProduct(shown)) {
        return *error;
    }
    m_window.setText(TextField::Text1, FormatGeneral(shown, separator));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

GridResult GridHandlers::Combo1_Click() {
    if (m_state.GridValid == kFalse) {
        return {};  // the typed number stays; the next transfer reads it in the new unit
    }
    const int i = m_window.selectedIndex(UnitList::Combo1);
    if (!validTimeUnit(i)) {
        return GridError::NoTimeUnit;
    }
    const double shown = timeDisplayScale(i) * m_state.TimeStep;
    if (auto error = checkProduct(shown)) {
        return *error;
    }
    m_window.setText(TextField::Text1, FormatGeneral(shown, m_window.decimalSeparator()));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

GridResult GridHandlers::Combo2_Click() {
    if (m_state.GridValid == kFalse) {
        return {};
    }
    const int j = m_window.selectedIndex(UnitList::Combo2);
    if (!validFrequencyUnit(j)) {
        return GridError::NoFrequencyUnit;
    }
    const double shown = frequencyDisplayScale(j) * m_state.FrequencyStep;
    if (auto error = checkProduct(shown)) {
        return *error;
    }
    m_window.setText(TextField::Text3, FormatGeneral(shown, m_window.decimalSeparator()));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

GridResult GridHandlers::Option1_Click(std::int16_t Index) {
    m_state.SignalKind = Index;
    return UpdateFormulaPicture();
}

void GridHandlers::CheckInputs() {
    m_window.setEnabled(TransferButton::Command1, false);
    m_window.setEnabled(TransferButton::Command2, false);
    m_window.setCaption(SummaryLabel::Label2, "");
    m_window.setCaption(SummaryLabel::Label5, "");
    m_window.setCaption(SummaryLabel::Label6, "");

    const std::string separator = m_window.decimalSeparator();
    const std::string points = m_window.text(TextField::Text2);
    const std::optional<double> n = ParseNumber(points, separator);
    // A side is sound when its spacing is a positive number and N a whole number above 3.
    const auto sound = [&](TextField spacingField) {
        const std::optional<double> spacing = ParseNumber(m_window.text(spacingField), separator);
        if (!spacing || !n) {
            return false;
        }
        const bool whole = whole16(points, separator);
        const bool enough = *n > 3.0;
        const bool positive = *spacing > 0.0;
        return whole && enough && positive;
    };
    if (sound(TextField::Text1)) {
        m_window.setEnabled(TransferButton::Command1, true);
    }
    if (sound(TextField::Text3)) {
        m_window.setEnabled(TransferButton::Command2, true);
    }
    m_state.GridValid = kFalse;
}

GridResult GridHandlers::ShowGrids() {
    if (m_state.GridValid == kFalse) {
        return {};
    }
    const std::string separator = m_window.decimalSeparator();
    const SummaryTexts texts = buildSummary({m_state, m_window.selectedIndex(UnitList::Combo1),
                                             m_window.selectedIndex(UnitList::Combo2),
                                             m_window.isOptionSelected(1), separator});
    // Written in this order; a failure leaves the failing label and those after it untouched.
    if (texts.timeGrid) {
        m_window.setCaption(SummaryLabel::Label2, *texts.timeGrid);
    }
    if (texts.period) {
        m_window.setCaption(SummaryLabel::Label6, *texts.period);
    }
    if (texts.frequencyGrid) {
        m_window.setCaption(SummaryLabel::Label5, *texts.frequencyGrid);
    }
    if (texts.error) {
        return *texts.error;
    }
    return {};
}

GridResult GridHandlers::UpdateFormulaPicture() {
    if (GridResult shown = ShowGrids(); !shown) {
        return shown;
    }
    const bool repetitive = m_state.SignalKind != 0;
    const bool alternateNormalization = m_window.checkState(CheckBox::Check1) != kUnchecked;
    const bool alternateSign = m_window.checkState(CheckBox::Check2) != kUnchecked;
    m_window.loadPicture(
        picturePath(pictureNumber(repetitive, alternateNormalization, alternateSign)));
    return {};
}

std::string GridHandlers::picturePath(int k) const {
    return (std::filesystem::path(m_folder) / pictureFileName(k)).string();
}

}  // namespace quintrel
