// frmMain's side of the calculator's window interface: the handlers read and write the window's
// controls through it, and each program-made change runs the control's handler synchronously, a
// field write also when its text is unchanged.
#pragma once

#include "core/grid_window.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quintrel {

class frmMain;

class GridWindowAdapter final : public GridWindow {
  public:
    explicit GridWindowAdapter(frmMain& form) : m_form(form) {}

    std::string text(TextField field) const override;
    void setText(TextField field, std::string_view text) override;
    void setEnabled(TransferButton button, bool enabled) override;
    void setCaption(SummaryLabel label, std::string_view caption) override;
    int selectedIndex(UnitList list) const override;
    void setSelectedIndex(UnitList list, int index) override;
    bool isOptionSelected(int index) const override;
    void setOptionSelected(int index, bool selected) override;
    int checkState(CheckBox box) const override;
    void setCheckState(CheckBox box, int state) override;
    bool loadPicture(const std::string& path) override;
    std::string decimalSeparator() const override;

  private:
    QLineEdit* field(TextField field) const;
    QComboBox* list(UnitList list) const;
    QCheckBox* box(CheckBox box) const;

    frmMain& m_form;
};

}  // namespace quintrel
