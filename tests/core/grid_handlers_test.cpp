#include "core/grid_handlers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/fake_window.h"

namespace quintrel {
namespace {

// The path with "/" between its parts, whatever the platform joined them with.
std::string genericPath(const std::string& path) {
    return std::filesystem::path(path).generic_string();
}

using testing::FakeWindow;

// A window in its start state, wired to the handlers.
class Handlers : public ::testing::Test {
  protected:
    FakeWindow window;
    GridState state;
    GridHandlers handlers{window, state, "/opt/quintrel"};

    void SetUp() override {
        window.handlers = &handlers;
        ASSERT_TRUE(handlers.Form_Load());
        window.events.clear();
    }

    void type(TextField field, const std::string& text) { window.setText(field, text); }
    const std::string& text(TextField field) const { return window.texts[static_cast<int>(field)]; }
    const std::string& caption(SummaryLabel label) const { return window.caption(label); }
    bool enabled(TransferButton button) const { return window.isEnabled(button); }

    void expectSummaryEmpty() const {
        EXPECT_EQ(caption(SummaryLabel::Label2), "");
        EXPECT_EQ(caption(SummaryLabel::Label5), "");
        EXPECT_EQ(caption(SummaryLabel::Label6), "");
    }
};

TEST_F(Handlers, StartState) {
    FakeWindow fresh;
    GridState s;
    s.SignalKind = 1;
    GridHandlers h(fresh, s, "/opt/quintrel");
    fresh.handlers = &h;
    fresh.enabled = {true, true};
    ASSERT_TRUE(h.Form_Load());
    EXPECT_FALSE(fresh.isEnabled(TransferButton::Command1));
    EXPECT_FALSE(fresh.isEnabled(TransferButton::Command2));
    EXPECT_EQ(fresh.units[0], 3);  // ns
    EXPECT_EQ(fresh.units[1], 3);  // GHz
    EXPECT_EQ(fresh.captions, (std::array<std::string, 3>{"", "", ""}));
    EXPECT_EQ(s.GridValid, kFalse);
    EXPECT_EQ(s.SignalKind, 0);
    EXPECT_EQ(genericPath(fresh.picture), "/opt/quintrel/transforms1.wmf");
    // The list handlers ran for the program-made selections and changed nothing.
    EXPECT_EQ(fresh.events, (std::vector<std::string>{"Combo1_Click", "Combo2_Click"}));
    EXPECT_TRUE(fresh.failures.empty());

    fresh.picturesLoad = false;
    EXPECT_FALSE(h.Form_Load());
    EXPECT_EQ(fresh.picture, "");
}

TEST_F(Handlers, TypicalRequestForwardThenBack) {
    type(TextField::Text1, "1");
    EXPECT_FALSE(enabled(TransferButton::Command1));
    type(TextField::Text2, "8");
    EXPECT_TRUE(enabled(TransferButton::Command1));
    EXPECT_FALSE(enabled(TransferButton::Command2));
    window.setOptionSelected(1, true);

    ASSERT_TRUE(handlers.Command1_Click());
    EXPECT_EQ(state.PointCount, 8.0);
    EXPECT_EQ(state.TimeStep, 1e-9);
    EXPECT_EQ(state.FrequencyStep, 1.0 / (1e-9 * 8.0));
    EXPECT_EQ(text(TextField::Text3), "0.125");
    EXPECT_EQ(text(TextField::Text1), "1");
    EXPECT_EQ(state.GridValid, kTrue);
    // The write into Text3 ran CheckInputs, which enabled "<<" as well.
    EXPECT_TRUE(enabled(TransferButton::Command2));
    EXPECT_EQ(caption(SummaryLabel::Label2), "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(caption(SummaryLabel::Label6), "T = 8ns");
    EXPECT_EQ(caption(SummaryLabel::Label5),
              "f_n = 0, 0.125GHz, ..., 0.375GHz, 0.5GHz, -0.375GHz, ..., -0.125GHz");

    ASSERT_TRUE(handlers.Command2_Click());
    EXPECT_EQ(state.FrequencyStep, 0.125e9);
    EXPECT_EQ(state.TimeStep, 1e-9);
    EXPECT_EQ(text(TextField::Text1), "1");
    EXPECT_EQ(state.GridValid, kTrue);
    EXPECT_EQ(caption(SummaryLabel::Label2), "t_k = 0, 1ns, ..., 7ns");
}

TEST_F(Handlers, ProtocolOrderOfATransfer) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    window.events.clear();
    ASSERT_TRUE(handlers.Command1_Click());
    EXPECT_EQ(window.events, std::vector<std::string>{"Text3_Change"});
    EXPECT_EQ(state.GridValid, kTrue);
    EXPECT_FALSE(caption(SummaryLabel::Label5).empty());
}

TEST_F(Handlers, FifteenDigitsAndTheTypedTextStays) {
    window.setSelectedIndex(UnitList::Combo2, 2);  // MHz
    type(TextField::Text1, "1.0");
    type(TextField::Text2, "8");
    ASSERT_TRUE(handlers.Command1_Click());
    EXPECT_EQ(text(TextField::Text3), "125");  // 124.99999999999999 computed
    EXPECT_EQ(text(TextField::Text1), "1.0");  // the field read is never rewritten
    EXPECT_EQ(caption(SummaryLabel::Label5),
              "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz");
    EXPECT_EQ(caption(SummaryLabel::Label6), "");  // single pulse: no period line

    // A second press recomputes from the fields and gives the same values.
    const GridState first = state;
    ASSERT_TRUE(handlers.Command1_Click());
    EXPECT_EQ(state.FrequencyStep, first.FrequencyStep);
    EXPECT_EQ(text(TextField::Text3), "125");
}

TEST_F(Handlers, UnitChangesRedisplayTheStoredSpacing) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    window.setOptionSelected(1, true);
    window.setSelectedIndex(UnitList::Combo2, 2);
    ASSERT_TRUE(handlers.Command1_Click());

    window.setSelectedIndex(UnitList::Combo1, 4);  // ps
    EXPECT_EQ(text(TextField::Text1), "1000");
    EXPECT_EQ(caption(SummaryLabel::Label2), "t_k = 0, 1000ps, ..., 7000ps");
    EXPECT_EQ(caption(SummaryLabel::Label6), "T = 8000ps");
    EXPECT_EQ(state.GridValid, kTrue);
    window.setSelectedIndex(UnitList::Combo1, 2);  // us
    EXPECT_EQ(text(TextField::Text1), "0.001");
    EXPECT_EQ(state.TimeStep, 1e-9);

    window.setSelectedIndex(UnitList::Combo2, 1);  // KHz
    EXPECT_EQ(text(TextField::Text3), "125000");
    EXPECT_EQ(caption(SummaryLabel::Label5),
              "f_n = 0, 125000KHz, ..., 375000KHz, 500000KHz, -375000KHz, ..., -125000KHz");
    EXPECT_TRUE(window.failures.empty());
}

TEST_F(Handlers, AnEditWithdrawsTheSummaryAndUnitChangesThenKeepTheText) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    ASSERT_TRUE(handlers.Command1_Click());
    type(TextField::Text1, "5");
    expectSummaryEmpty();
    EXPECT_EQ(state.GridValid, kFalse);
    EXPECT_EQ(state.TimeStep, 1e-9);  // stored values survive the edit

    window.setSelectedIndex(UnitList::Combo1, 2);  // us
    EXPECT_EQ(text(TextField::Text1), "5");
    expectSummaryEmpty();
    // The next transfer reads 5 in the new unit.
    ASSERT_TRUE(handlers.Command1_Click());
    EXPECT_DOUBLE_EQ(state.TimeStep, 5e-6);
}

TEST_F(Handlers, CheckInputsEnablesExactlyOnSoundFields) {
    struct Case {
        const char *t1, *t2, *t3;
        bool forward, backward;
    };
    const Case cases[] = {
        {"", "", "", false, false},        {"1e-9", "1024", "", true, false},
        {"1", "3", "1", false, false},     {"1", "4", "1", true, true},
        {"1", "4.5", "1", false, false},   {"1", "4.0", "1", true, true},
        {"1", "32767", "1", true, true},   {"1", "40000", "1", false, false},
        {"1", "32768", "1", false, false}, {"1", "abc", "1", false, false},
        {"0", "8", "-2", false, false},    {"-2", "8", "0.5", false, true},
        {"x", "8", "2", false, true},      {" 1 ", "1e1", "", true, false},
        {"1", "-8", "1", false, false},    {"1e400", "8", "1", false, true},
    };
    for (const Case& c : cases) {
        type(TextField::Text1, c.t1);
        type(TextField::Text2, c.t2);
        type(TextField::Text3, c.t3);
        EXPECT_EQ(enabled(TransferButton::Command1), c.forward)
            << c.t1 << " | " << c.t2 << " | " << c.t3;
        EXPECT_EQ(enabled(TransferButton::Command2), c.backward)
            << c.t1 << " | " << c.t2 << " | " << c.t3;
    }
    window.separator = ",";
    type(TextField::Text1, "2,5");
    type(TextField::Text2, "8");
    type(TextField::Text3, "2.5");
    EXPECT_TRUE(enabled(TransferButton::Command1));
    EXPECT_FALSE(enabled(TransferButton::Command2));
}

TEST_F(Handlers, EveryKeystrokeClearsTheSummary) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    ASSERT_TRUE(handlers.Command1_Click());
    for (TextField field : {TextField::Text1, TextField::Text2, TextField::Text3}) {
        ASSERT_TRUE(handlers.Command1_Click());
        ASSERT_FALSE(caption(SummaryLabel::Label2).empty());
        type(field, text(field) + "0");
        expectSummaryEmpty();
        EXPECT_EQ(state.GridValid, kFalse);
        type(TextField::Text1, "1");
        type(TextField::Text2, "8");
    }
    // ShowGrids writes nothing while GridValid is false.
    window.captions = {"keep", "keep", "keep"};
    ASSERT_TRUE(handlers.ShowGrids());
    EXPECT_EQ(window.captions, (std::array<std::string, 3>{"keep", "keep", "keep"}));
}

TEST_F(Handlers, ForwardOverflowStopsBeforeAnyWrite) {
    window.setSelectedIndex(UnitList::Combo1, 5);  // fs
    type(TextField::Text1, "1e-300");
    type(TextField::Text2, "8");
    type(TextField::Text3, "42");
    ASSERT_TRUE(enabled(TransferButton::Command1));
    state.FrequencyStep = 7.0;
    window.events.clear();
    const GridResult result = handlers.Command1_Click();
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), GridError::Overflow);
    EXPECT_EQ(text(TextField::Text3), "42");
    EXPECT_TRUE(window.events.empty());  // no field written, no handler ran
    EXPECT_EQ(state.GridValid, kFalse);
    EXPECT_EQ(state.FrequencyStep, 7.0);  // the failing step stores nothing
    EXPECT_EQ(state.TimeStep, 1e-315);    // the denormal from the step before passed
    expectSummaryEmpty();
}

TEST_F(Handlers, BackwardFailuresAreTyped) {
    window.setSelectedIndex(UnitList::Combo2, 4);  // THz
    type(TextField::Text3, "1e300");
    type(TextField::Text2, "8");
    type(TextField::Text1, "keep");
    const GridResult overflow = handlers.Command2_Click();
    ASSERT_FALSE(overflow);
    EXPECT_EQ(overflow.error(), GridError::Overflow);  // 1e300 THz is beyond a double
    EXPECT_EQ(text(TextField::Text1), "keep");

    // A denormal Δt in fs underflows to zero seconds, so Δt·N is zero: 1 / 0.
    window.setSelectedIndex(UnitList::Combo1, 5);
    type(TextField::Text1, "1e-320");
    type(TextField::Text2, "4");
    type(TextField::Text3, "keep");
    const GridResult zero = handlers.Command1_Click();
    ASSERT_FALSE(zero);
    EXPECT_EQ(zero.error(), GridError::DivisionByZero);
    EXPECT_EQ(text(TextField::Text3), "keep");

    type(TextField::Text2, "many");
    EXPECT_EQ(handlers.Command2_Click().error(), GridError::TypeMismatch);
}

TEST_F(Handlers, UnitChangeOverflowKeepsTheSummaryEmpty) {
    type(TextField::Text1, "1e293");
    window.setSelectedIndex(UnitList::Combo1, 0);  // s
    type(TextField::Text2, "32767");
    ASSERT_TRUE(handlers.Command1_Click());
    ASSERT_FALSE(caption(SummaryLabel::Label2).empty());
    // "fs": the field fits (1E+308) but the time grid (N-1)·Δt·10^15 does not.
    window.setSelectedIndex(UnitList::Combo1, 5);
    ASSERT_EQ(window.failures.size(), 1u);
    EXPECT_EQ(window.failures[0].error(), GridError::Overflow);
    EXPECT_EQ(text(TextField::Text1), "1E+308");
    EXPECT_EQ(caption(SummaryLabel::Label2), "");
}

TEST_F(Handlers, NoUnitSelectedIsReportedNotInvented) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    type(TextField::Text3, "3");
    window.setSelectedIndex(UnitList::Combo1, -1);
    EXPECT_EQ(handlers.Command1_Click().error(), GridError::NoTimeUnit);
    EXPECT_EQ(text(TextField::Text3), "3");
    EXPECT_EQ(handlers.Command2_Click().error(), GridError::NoTimeUnit);
    EXPECT_EQ(text(TextField::Text1), "1");

    window.setSelectedIndex(UnitList::Combo1, 3);
    window.setSelectedIndex(UnitList::Combo2, -1);
    EXPECT_EQ(handlers.Command1_Click().error(), GridError::NoFrequencyUnit);
    EXPECT_EQ(text(TextField::Text3), "3");
    expectSummaryEmpty();

    // A valid grid whose list lost its selection: the frequency line is not rebuilt with a
    // made-up unit; the time lines before it are.
    window.setSelectedIndex(UnitList::Combo2, 3);
    ASSERT_TRUE(handlers.Command1_Click());
    window.units[1] = -1;  // as a menu file with item 8 = -1 leaves it
    window.captions = {"old", "old", "old"};
    window.failures.clear();
    window.setCheckState(CheckBox::Check1, kChecked);
    ASSERT_EQ(window.failures.size(), 1u);
    EXPECT_EQ(window.failures[0].error(), GridError::NoFrequencyUnit);
    EXPECT_EQ(caption(SummaryLabel::Label2), "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(caption(SummaryLabel::Label5), "old");
    EXPECT_EQ(genericPath(window.picture),
              "/opt/quintrel/transforms1.wmf");  // stopped before the picture
}

TEST_F(Handlers, PictureFollowsTheChoices) {
    const auto pictureNumberShown = [&] {
        return std::filesystem::path(window.picture).filename().string();
    };
    window.setOptionSelected(0, true);
    EXPECT_EQ(pictureNumberShown(), "transforms1.wmf");
    window.setCheckState(CheckBox::Check2, kChecked);
    EXPECT_EQ(pictureNumberShown(), "transforms2.wmf");
    window.setCheckState(CheckBox::Check1, kChecked);
    EXPECT_EQ(pictureNumberShown(), "transforms4.wmf");
    window.setOptionSelected(1, true);
    EXPECT_EQ(state.SignalKind, 1);
    EXPECT_EQ(pictureNumberShown(), "transforms8.wmf");
    window.setCheckState(CheckBox::Check1, kUnchecked);
    EXPECT_EQ(pictureNumberShown(), "transforms6.wmf");
    window.setCheckState(CheckBox::Check2, kGrayed);  // greyed counts as set
    EXPECT_EQ(pictureNumberShown(), "transforms6.wmf");
    window.setCheckState(CheckBox::Check2, kUnchecked);
    EXPECT_EQ(pictureNumberShown(), "transforms5.wmf");
    window.setCheckState(CheckBox::Check1, kGrayed);
    EXPECT_EQ(pictureNumberShown(), "transforms7.wmf");
    window.setOptionSelected(0, true);
    EXPECT_EQ(state.SignalKind, 0);
    EXPECT_EQ(pictureNumberShown(), "transforms3.wmf");
}

TEST_F(Handlers, SignalKindSwitchAddsAndRemovesThePeriodLine) {
    type(TextField::Text1, "1");
    type(TextField::Text2, "8");
    window.setOptionSelected(0, true);
    ASSERT_TRUE(handlers.Command1_Click());
    const std::string timeGrid = caption(SummaryLabel::Label2);
    const std::string frequencyGrid = caption(SummaryLabel::Label5);
    EXPECT_EQ(caption(SummaryLabel::Label6), "");
    window.setOptionSelected(1, true);
    EXPECT_EQ(caption(SummaryLabel::Label6), "T = 8ns");
    EXPECT_EQ(caption(SummaryLabel::Label2), timeGrid);
    EXPECT_EQ(caption(SummaryLabel::Label5), frequencyGrid);
    window.setOptionSelected(0, true);
    EXPECT_EQ(caption(SummaryLabel::Label6), "");

    // With GridValid false the summary stays empty when the picture changes.
    type(TextField::Text2, "16");
    window.setOptionSelected(1, true);
    expectSummaryEmpty();
}

// Every step of a request that can fail, reached through the handlers: the failure names the
// quantity that step computes, and no field is written but the one a finished transfer writes
// before its summary fails. Unreachable: an overflow of Δt in seconds (a time unit only scales
// down what is typed) or of Δf in the chosen frequency unit (shown scaled down), and an invalid
// operation (no stored value is infinite).
TEST(GridMessages, NameTheQuantityAndTheRemedy) {
    enum class Step { Forward, Backward, BackwardRepetitive, ForwardThenFemtoseconds };
    struct Case {
        std::array<const char*, 3> fields;  // Text1, Text2, Text3
        int timeUnit;
        int frequencyUnit;
        Step step;
        GridError error;
        GridQuantity quantity;
        const char* written;  // the text then in the field a transfer writes (Text3 for ">>")
        const char* message = nullptr;  // word for word, where given
    };
    using E = GridError;
    using Q = GridQuantity;
    constexpr Step kF = Step::Forward;
    constexpr Step kB = Step::Backward;
    constexpr Step kBR = Step::BackwardRepetitive;
    constexpr Step kFU = Step::ForwardThenFemtoseconds;
    const char* const kMismatch =
        "Type mismatch: the field for Δt does not hold a number. Correct it and try again.";
    const char* const kOverflow =
        "Overflow: Δf = 1/(N·Δt) is beyond the range of double-precision numbers. Use a larger Δt "
        "or another unit.";
    const char* const kZero =
        "Division by zero: N·Δt is too small to be told from zero, so Δf = 1/(N·Δt) has no value. "
        "Use a larger Δt or another unit.";
    const char* const kTooMany =
        "Overflow: N is too large for the frequency grid, which counts its points in 16-bit whole "
        "numbers. Use a whole N from 4 to 32767.";
    // 1/(4 × 2.5e-309 s): a denormal Δt, held with fewer bits than a normal number.
    const char* const kNearMax = "9.99999999999999E+307";
    const Case cases[] = {
        {{"1", "many", "keep"}, 3, 3, kF, E::TypeMismatch, Q::PointCount, "keep"},
        {{"1", "8", "keep"}, -1, 3, kF, E::NoTimeUnit, Q::None, "keep"},
        {{"x", "8", "keep"}, 3, 3, kF, E::TypeMismatch, Q::TypedTime, "keep", kMismatch},
        {{"keep", "8", "1e300"}, 3, 4, kB, E::Overflow, Q::TypedFrequency, "keep"},
        {{"1e308", "8", "keep"}, 0, 3, kF, E::Overflow, Q::TimeProduct, "keep"},
        {{"keep", "8", "1e308"}, 3, 0, kB, E::Overflow, Q::FrequencyProduct, "keep"},
        {{"1e-300", "8", "keep"}, 5, 3, kF, E::Overflow, Q::ComputedFrequency, "keep", kOverflow},
        {{"1e-320", "4", "keep"}, 5, 3, kF, E::DivisionByZero, Q::ComputedFrequency, "keep", kZero},
        {{"keep", "4", "1e-320"}, 3, 0, kB, E::Overflow, Q::ComputedTime, "keep"},
        {{"1", "8", "keep"}, 3, -1, kF, E::NoFrequencyUnit, Q::None, "keep"},
        {{"keep", "4", "1e-300"}, 5, 0, kB, E::Overflow, Q::ShownTime, "keep"},
        // The summary after a transfer that wrote its field.
        {{"keep", "10000", "1e-296"}, 5, 0, kB, E::Overflow, Q::TimeGrid, "1E+307"},
        {{"keep", "4", "5e-309"}, 0, 0, kBR, E::Overflow, Q::Period, "5E+307"},
        {{"2.5e-309", "4", "keep"}, 0, 0, kF, E::Overflow, Q::FrequencyGrid, kNearMax},
        {{"1", "70000", "keep"},
         3,
         3,
         kF,
         E::Overflow,
         Q::PointCount,
         "1.42857142857143E-05",
         kTooMany},
        // A unit change after a transfer: the list goes back to "s", the field keeps its text.
        {{"1e295", "4", "keep"}, 0, 3, kFU, E::Overflow, Q::ShownTime, "2.5E-305"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fields[0]) + " | " + c.fields[1] + " | " + c.fields[2]);
        FakeWindow window;
        GridState state;
        GridHandlers handlers(window, state, "/opt/quintrel");
        window.handlers = &handlers;
        ASSERT_TRUE(handlers.Form_Load());
        window.setOptionSelected(c.step == kBR ? 1 : 0, true);
        window.setSelectedIndex(UnitList::Combo1, c.timeUnit);
        window.setSelectedIndex(UnitList::Combo2, c.frequencyUnit);
        for (TextField field : {TextField::Text1, TextField::Text2, TextField::Text3}) {
            window.setText(field, c.fields[static_cast<std::size_t>(field)]);
        }
        const bool forward = c.step == kF || c.step == kFU;
        GridResult result = forward ? handlers.Command1_Click() : handlers.Command2_Click();
        if (c.step == kFU) {
            ASSERT_TRUE(result);
            window.setSelectedIndex(UnitList::Combo1, 5);
            ASSERT_EQ(window.failures.size(), 1u);
            result = window.failures[0];
            EXPECT_EQ(window.units[0], 0);
        }
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), c.error);
        EXPECT_EQ(result.quantity(), c.quantity);
        std::array<std::string, 3> texts{c.fields[0], c.fields[1], c.fields[2]};
        texts[forward ? 2 : 0] = c.written;
        EXPECT_EQ(window.texts, texts);
        if (c.message != nullptr) {
            EXPECT_EQ(result.message(), c.message);
        }
    }
}

}  // namespace
}  // namespace quintrel
