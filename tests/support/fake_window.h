// A plain in-memory main window for tests of the handlers: it stores what the handlers write and
// runs the change handlers synchronously from program-made changes: a field's handler from every
// write, the other controls' handlers, like Qt, only from changes of their value.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid_handlers.h"
#include "core/grid_window.h"

namespace quintrel::testing {

class FakeWindow : public GridWindow {
  public:
    // Handlers to notify; set after construction because the handlers need the window first.
    GridHandlers* handlers = nullptr;

    std::array<std::string, 3> texts;                       // Text1, Text2, Text3
    std::array<bool, 2> enabled{};                          // Command1, Command2
    std::array<std::string, 3> captions{"t=", "f=", "T="};  // Label2, Label5, Label6
    std::array<int, 2> units{-1, -1};                       // Combo1, Combo2
    std::array<bool, 2> options{};                          // Option1(0), Option1(1)
    std::array<int, 2> checks{};                            // Check1, Check2
    std::string separator = ".";
    bool picturesLoad = true;          // what loadPicture answers
    std::string picture;               // path of the picture shown, empty when none
    std::vector<std::string> events;   // handler names in the order they ran
    std::vector<GridResult> failures;  // failures returned by handlers run from notifications

    std::string text(TextField field) const override { return texts[index(field)]; }
    // Runs the change handler also when the text is unchanged, as the window's adapter does.
    void setText(TextField field, std::string_view value) override {
        texts[index(field)] = std::string(value);
        static constexpr std::array<const char*, 3> names{"Text1_Change", "Text2_Change",
                                                          "Text3_Change"};
        events.emplace_back(names[index(field)]);
        if (handlers) {
            handlers->CheckInputs();
        }
    }
    void setEnabled(TransferButton button, bool on) override { enabled[index(button)] = on; }
    void setCaption(SummaryLabel label, std::string_view caption) override {
        captions[index(label)] = std::string(caption);
    }
    int selectedIndex(UnitList list) const override { return units[index(list)]; }
    void setSelectedIndex(UnitList list, int value) override {
        if (units[index(list)] == value) {
            return;
        }
        units[index(list)] = value;
        const bool time = list == UnitList::Combo1;
        events.emplace_back(time ? "Combo1_Click" : "Combo2_Click");
        if (handlers) {
            record(time ? handlers->Combo1_Click() : handlers->Combo2_Click());
        }
    }
    bool isOptionSelected(int i) const override { return options[static_cast<size_t>(i)]; }
    void setOptionSelected(int i, bool selected) override {
        auto& option = options[static_cast<size_t>(i)];
        if (option == selected) {
            return;
        }
        option = selected;
        if (selected) {
            options[static_cast<size_t>(1 - i)] = false;  // the pair excludes each other
            events.emplace_back("Option1_Click(" + std::to_string(i) + ")");
            if (handlers) {
                record(handlers->Option1_Click(static_cast<std::int16_t>(i)));
            }
        }
    }
    int checkState(CheckBox box) const override { return checks[index(box)]; }
    void setCheckState(CheckBox box, int state) override {
        if (checks[index(box)] == state) {
            return;
        }
        checks[index(box)] = state;
        const bool first = box == CheckBox::Check1;
        events.emplace_back(first ? "Check1_Click" : "Check2_Click");
        if (handlers) {
            record(first ? handlers->Check1_Click() : handlers->Check2_Click());
        }
    }
    bool loadPicture(const std::string& path) override {
        picture = picturesLoad ? path : std::string();
        return picturesLoad;
    }
    std::string decimalSeparator() const override { return separator; }

    const std::string& caption(SummaryLabel label) const { return captions[index(label)]; }
    bool isEnabled(TransferButton button) const { return enabled[index(button)]; }

  private:
    template <typename Enum>
    static size_t index(Enum value) {
        return static_cast<size_t>(value);
    }
    void record(GridResult result) {
        if (!result.ok()) {
            failures.push_back(result);
        }
    }
};

}  // namespace quintrel::testing
