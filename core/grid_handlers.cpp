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

}  // namespace

// One side of the calculator: its field, unit list, scales and stored spacing. The transfers
// and unit changes are the same steps for both sides, mirrored.
struct Domain {
    TextField field;
    UnitList units;
    double (*inputScale)(int);    // typed value -> base unit
    double (*displayScale)(int);  // base unit -> shown value
    GridError noUnit;
    double GridState::*step;  // seconds or hertz
    // What a failing step of this side computes, for the message.
    GridQuantity typed;     // the typed spacing in base units
    GridQuantity product;   // N times the spacing
    GridQuantity computed;  // this side's spacing computed from the other one
    GridQuantity shown;     // the stored spacing in the chosen unit
};

namespace {

bool hasUnit(const Domain& domain, int index) {
    return domain.units == UnitList::Combo1 ? timeUnitText(index).has_value()
                                            : frequencyUnitText(index).has_value();
}

constexpr Domain kTime{
    TextField::Text1,        UnitList::Combo1,          timeInputScale,
    timeDisplayScale,        GridError::NoTimeUnit,     &GridState::TimeStep,
    GridQuantity::TypedTime, GridQuantity::TimeProduct, GridQuantity::ComputedTime,
    GridQuantity::ShownTime};
constexpr Domain kFrequency{TextField::Text3,
                            UnitList::Combo2,
                            frequencyInputScale,
                            frequencyDisplayScale,
                            GridError::NoFrequencyUnit,
                            &GridState::FrequencyStep,
                            GridQuantity::TypedFrequency,
                            GridQuantity::FrequencyProduct,
                            GridQuantity::ComputedFrequency,
                            GridQuantity::ShownFrequency};

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
    return transfer(kTime, kFrequency);
}
GridResult GridHandlers::Command2_Click() {
    return transfer(kFrequency, kTime);
}
GridResult GridHandlers::Combo1_Click() {
    return redisplay(kTime);
}
GridResult GridHandlers::Combo2_Click() {
    return redisplay(kFrequency);
}

// The transfer from one side to the other: ">>" from time to frequency, "<<" back. Each tested
// value is stored only once its test has passed; values of earlier steps stay stored.
GridResult GridHandlers::transfer(const Domain& from, const Domain& to) {
    const std::string separator = m_window.decimalSeparator();
    const std::optional<double> points = ParseNumber(m_window.text(TextField::Text2), separator);
    if (!points) {
        return {GridError::TypeMismatch, GridQuantity::PointCount};
    }
    m_state.PointCount = *points;

    const int fromUnit = m_window.selectedIndex(from.units);
    if (!hasUnit(from, fromUnit)) {
        return from.noUnit;
    }
    // The field is read before the scale is computed.
    const std::optional<double> typed = ParseNumber(m_window.text(from.field), separator);
    if (!typed) {
        return {GridError::TypeMismatch, from.typed};
    }
    const double spacing = *typed * from.inputScale(fromUnit);
    if (auto error = checkProduct(spacing)) {
        return {*error, from.typed};
    }
    m_state.*from.step = spacing;

    const double product = m_state.*from.step * m_state.PointCount;
    if (auto error = checkProduct(product)) {
        return {*error, from.product};
    }
    const double result = 1.0 / product;
    if (auto error = checkQuotient(product, result)) {
        return {*error, to.computed};
    }
    m_state.*to.step = result;

    const int toUnit = m_window.selectedIndex(to.units);
    if (!hasUnit(to, toUnit)) {
        return to.noUnit;
    }
    const double shown = to.displayScale(toUnit) * m_state.*to.step;
    if (auto error = checkProduct(shown)) {
        return {*error, to.shown};
    }
    // The write runs CheckInputs, which clears GridValid; so GridValid is set only afterwards.
    m_window.setText(to.field, FormatGeneral(shown, separator));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

// A unit change: while the grid is valid, the stored spacing is shown again in the new unit.
GridResult GridHandlers::redisplay(const Domain& domain) {
    int& unitOfText = m_unitOfText[domain.units == UnitList::Combo1 ? 0 : 1];
    if (m_restoringUnit) {
        return {};  // the list is being put back on the unit its field's text is in
    }
    const int unit = m_window.selectedIndex(domain.units);
    if (m_state.GridValid == kFalse) {
        unitOfText = unit;  // the typed number stays; the next transfer reads it in the new unit
        return {};
    }
    if (!hasUnit(domain, unit)) {
        // Text typed into the list that names no unit: the field's number has no unit any more,
        // so the grid no longer belongs to what is shown. Withdrawn as an edit would; the next
        // transfer says that a unit is missing.
        unitOfText = unit;
        CheckInputs();
        return {};
    }
    const double shown = domain.displayScale(unit) * m_state.*domain.step;
    if (auto error = checkProduct(shown)) {
        // The field still shows the spacing in the unit before; a list left on the refused unit
        // would make the next transfer read that number in the wrong unit.
        m_restoringUnit = true;
        m_window.setSelectedIndex(domain.units, unitOfText);
        m_restoringUnit = false;
        return {*error, domain.shown};
    }
    unitOfText = unit;
    m_window.setText(domain.field, FormatGeneral(shown, m_window.decimalSeparator()));
    m_state.GridValid = kTrue;
    return ShowGrids();
}

GridResult GridHandlers::Option1_Click(std::int16_t Index) {
    m_state.SignalKind = Index;
    return UpdateFormulaPicture();
}

void GridHandlers::CheckInputs() {
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
    // Each button is set once to its final state: disabling a button on the way to enabling it
    // again would take the focus from it while the user presses it.
    m_window.setEnabled(TransferButton::Command1, sound(TextField::Text1));
    m_window.setEnabled(TransferButton::Command2, sound(TextField::Text3));
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
        return {*texts.error, texts.quantity};
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
    // The folder is UTF-8. A path built from a plain std::string would read it in the system's
    // code page on Windows and break every folder name outside ASCII.
    const std::u8string folder(m_folder.begin(), m_folder.end());
    const std::u8string name = (std::filesystem::path(folder) / pictureFileName(k)).u8string();
    return {name.begin(), name.end()};
}

}  // namespace quintrel
