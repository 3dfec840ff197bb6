#include "menufile/menu_procedures.h"

#include <gtest/gtest.h>

#include <vector>

#include "menufile/menu_writer.h"
#include "tests/menufile/example_file.h"
#include "tests/support/fake_window.h"

namespace quintrel {
namespace {

using testing::exampleWithLine;
using testing::FakeWindow;
using testing::kExampleFile;

// A window in its start state, as after Form_Load.
struct Started {
    GridState state;
    FakeWindow window;
    GridHandlers handlers{window, state, "/opt/quintrel"};
    Started() {
        window.handlers = &handlers;
        handlers.Form_Load();
        window.events.clear();
    }
    MenuLoad read(std::string_view bytes) { return putMenuFile(bytes, window, handlers, state); }
};

TEST(PutMenuFile, TheExampleRestoresTheWindowAndShowsTheSummary) {
    Started s;
    const MenuLoad load = s.read(kExampleFile);
    ASSERT_FALSE(load.error);
    EXPECT_TRUE(load.summary.ok());
    EXPECT_EQ(s.window.texts, (std::array<std::string, 3>{"1", "8", "125"}));
    EXPECT_EQ(s.window.units, (std::array<int, 2>{3, 2}));
    EXPECT_EQ(s.window.options, (std::array<bool, 2>{false, true}));
    EXPECT_EQ(s.window.checks, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(s.state.SignalKind, 1);
    EXPECT_EQ(s.state.GridValid, kTrue);
    EXPECT_EQ(s.state.TimeStep, 1e-9);
    EXPECT_EQ(s.state.PointCount, 8.0);
    EXPECT_EQ(s.state.FrequencyStep, 125000000.0);
    EXPECT_EQ(s.window.caption(SummaryLabel::Label2), "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(s.window.caption(SummaryLabel::Label6), "T = 8ns");
    EXPECT_EQ(s.window.caption(SummaryLabel::Label5),
              "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz");
    EXPECT_EQ(s.window.picture, s.handlers.picturePath(6));
    EXPECT_TRUE(s.window.isEnabled(TransferButton::Command1));
    EXPECT_TRUE(s.window.isEnabled(TransferButton::Command2));
    // Each control change ran its handler, in file order; Combo1 was "ns" already.
    EXPECT_EQ(s.window.events,
              (std::vector<std::string>{"Text1_Change", "Text2_Change", "Text3_Change",
                                        "Combo2_Click", "Option1_Click(1)", "Check2_Click"}));
    // And written back, the same 60 bytes.
    EXPECT_EQ(writeMenuItems(captureMenuItems(s.window, s.state)), kExampleFile);
}

// A file whose texts are those already shown: no text change runs a handler, yet the grid of the
// last transfer must not survive into the unit changes and rewrite the file's texts.
TEST(PutMenuFile, TextsEqualToTheShownOnesAfterATransferStayAsInTheFile) {
    Started s;
    s.window.setText(TextField::Text1, "1");
    s.window.setText(TextField::Text2, "8");
    ASSERT_TRUE(s.handlers.Command1_Click());
    ASSERT_EQ(s.window.texts[2], "0.125");
    const std::string file =
        "\"1\"\r\n\"8\"\r\n\"0.125\"\r\n1E-"
        "09\r\n8\r\n62500000\r\n3\r\n2\r\n\"N\"\r\n0\r\n0\r\n\"N\"\r\n";
    ASSERT_FALSE(s.read(file).error);
    EXPECT_EQ(s.window.texts, (std::array<std::string, 3>{"1", "8", "0.125"}));
    EXPECT_EQ(s.window.units[1], 2);
    EXPECT_EQ(s.state.GridValid, kFalse);
    EXPECT_EQ(s.window.caption(SummaryLabel::Label5), "");
}

TEST(PutMenuFile, SignalKindFollowsItem9) {
    for (const auto& [flag, option] :
         {std::pair{"\"Y\"", 0}, {"\"y\"", 1}, {"\"N\"", 1}, {"\"\"", 1}}) {
        SCOPED_TRACE(flag);
        Started s;
        ASSERT_FALSE(s.read(exampleWithLine(9, flag)).error);
        EXPECT_TRUE(s.window.options[option]);
        EXPECT_FALSE(s.window.options[1 - option]);
        EXPECT_EQ(s.state.SignalKind, option);
        EXPECT_EQ(s.window.caption(SummaryLabel::Label6), option == 1 ? "T = 8ns" : "");
    }
}

TEST(PutMenuFile, ItemTwelveDecidesWhetherTheSummaryShows) {
    Started s;
    ASSERT_FALSE(s.read(exampleWithLine(12, "\"N\"")).error);
    EXPECT_EQ(s.state.GridValid, kFalse);
    EXPECT_EQ(s.window.caption(SummaryLabel::Label2), "");
    EXPECT_EQ(s.window.caption(SummaryLabel::Label5), "");
}

TEST(PutMenuFile, ElevenItemsKeepWhatWasPutAndClearGridValid) {
    Started s;
    s.state.GridValid = kTrue;
    const MenuLoad load = s.read(kExampleFile.substr(0, 55));
    ASSERT_TRUE(load.error);
    EXPECT_EQ(*load.error, (MenuError{MenuReadError::EndOfFile, 12, 55}));
    EXPECT_EQ(s.window.texts, (std::array<std::string, 3>{"1", "8", "125"}));
    EXPECT_EQ(s.state.FrequencyStep, 125000000.0);
    EXPECT_EQ(s.window.units, (std::array<int, 2>{3, 2}));
    EXPECT_EQ(s.window.checks, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(s.state.SignalKind, 1);
    EXPECT_EQ(s.state.GridValid, kFalse);
    EXPECT_EQ(s.window.caption(SummaryLabel::Label2), "");
}

TEST(PutMenuFile, AnIndexPastTheListStopsBeforeTheList) {
    Started s;
    const MenuLoad load = s.read(exampleWithLine(7, "6"));
    ASSERT_TRUE(load.error);
    EXPECT_EQ(load.error->kind, MenuReadError::ListIndexOutOfRange);
    EXPECT_EQ(s.window.texts[2], "125");
    EXPECT_EQ(s.state.TimeStep, 1e-9);
    EXPECT_EQ(s.window.units, (std::array<int, 2>{3, 3}));  // neither list changed
    EXPECT_EQ(s.window.options, (std::array<bool, 2>{false, false}));
    EXPECT_EQ(s.state.GridValid, kFalse);
}

TEST(PutMenuFile, AStoredGridTheSummaryCannotShowIsNoReadError) {
    Started s;
    // A hand-edited grid: (N-1)·Δt·10^15 in "fs" overflows.
    std::string file = exampleWithLine(4, "1E+293");
    file = file.replace(file.find("\r\n8\r\n") + 2, 1, "32767");
    file = file.replace(file.find("\r\n3\r\n") + 2, 1, "5");
    const MenuLoad load = s.read(file);
    EXPECT_FALSE(load.error);
    ASSERT_FALSE(load.summary.ok());
    EXPECT_EQ(load.summary.error(), GridError::Overflow);
    EXPECT_EQ(s.state.GridValid, kTrue);
}

TEST(CaptureMenuItems, NoSignalKindSelectedIsWrittenAsN) {
    Started s;
    const MenuItems items = captureMenuItems(s.window, s.state);
    EXPECT_FALSE(items.SinglePulse);
    EXPECT_EQ(writeMenuItems(items),
              "\"\"\r\n\"\"\r\n\"\"\r\n0\r\n0\r\n0\r\n3\r\n3\r\n\"N\"\r\n0\r\n0\r\n\"N\"\r\n");
    // Reading that file selects the repetitive signal.
    Started other;
    ASSERT_FALSE(other.read(writeMenuItems(items)).error);
    EXPECT_TRUE(other.window.options[1]);
}

}  // namespace
}  // namespace quintrel
