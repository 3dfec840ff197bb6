// What the calculator's handlers need from the main window, without naming a toolkit.
//
// The Qt window implements this with real widgets; tests implement it with a plain struct.
// Every setter that stands for a change a user could make (a field text, a list selection, an
// option button, a check box) must run the matching handler of GridHandlers synchronously,
// nested inside the call, before it returns, as Qt's signals do for program-made changes. A field
// write always runs its handler, also when the text is unchanged (Qt sends no signal then, so the
// adapter runs the handler itself); the other setters, as Qt's signals, only run theirs when the
// value really changes:
//   setText(Text1, t)           -> Text1_Change, always (likewise Text2, Text3)
//   setSelectedIndex(Combo1, i) -> Combo1_Click when the index changes (likewise Combo2)
//   setOptionSelected(i, true)  -> Option1_Click(i) when the button becomes selected
//   setCheckState(Check1, s)    -> Check1_Click when the state changes (likewise Check2)
// A caller that needs a handler's effect whatever the old value was runs the handler itself.
#pragma once

#include <string>
#include <string_view>

namespace quintrel {

enum class TextField { Text1, Text2, Text3 };        // Δt, N, Δf
enum class TransferButton { Command1, Command2 };    // ">>" and "<<"
enum class SummaryLabel { Label2, Label5, Label6 };  // time grid, frequency grid, period
enum class UnitList { Combo1, Combo2 };              // time units, frequency units
enum class CheckBox { Check1, Check2 };              // alternate normalization, alternate sign

// Check-box states: 0 cleared, 1 ticked, 2 greyed. Any state but 0 counts as set.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

class GridWindow {
  public:
    virtual ~GridWindow() = default;

    // Field texts in UTF-8.
    virtual std::string text(TextField field) const = 0;
    virtual void setText(TextField field, std::string_view text) = 0;

    virtual void setEnabled(TransferButton button, bool enabled) = 0;
    virtual void setCaption(SummaryLabel label, std::string_view caption) = 0;

    // The selected list index, -1 when nothing is selected.
    virtual int selectedIndex(UnitList list) const = 0;
    virtual void setSelectedIndex(UnitList list, int index) = 0;

    // The option-button pair Option1: index 0 single pulse, 1 repetitive signal.
    virtual bool isOptionSelected(int index) const = 0;
    virtual void setOptionSelected(int index, bool selected) = 0;

    virtual int checkState(CheckBox box) const = 0;
    virtual void setCheckState(CheckBox box, int state) = 0;

    // Shows the formula picture at path in Picture1, replacing the one shown. Returns false
    // when the file is missing, unreadable or malformed; Picture1 is then empty.
    virtual bool loadPicture(const std::string& path) = 0;

    // The user's locale decimal separator for numbers typed and shown (UTF-8, usually "." or ",").
    virtual std::string decimalSeparator() const = 0;
};

}  // namespace quintrel
