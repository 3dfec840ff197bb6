// The main window's handlers and procedures, written against GridWindow: the two transfers, the
// two unit changes, input checking, the grid summary and the formula picture.
//
// Each handler keeps its order of steps. A handler that can fail returns GridResult; on failure it
// has stopped at the failing step: no later field is written, GridValid keeps its value and
// ShowGrids is not called. A failing step never stores a non-finite number in GridState.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/grid_error.h"
#include "core/grid_state.h"
#include "core/grid_window.h"

namespace quintrel {

struct Domain;

class GridHandlers {
  public:
    // folder: the folder that holds the executable and the formula pictures.
    GridHandlers(GridWindow& window, GridState& state, std::string folder);

    // Start state of the window: both transfer buttons disabled, "ns" and "GHz" selected, the
    // summary empty, GridValid false, SignalKind 0, picture 1 loaded. Returns what loadPicture
    // returned.
    bool Form_Load();

    void Text1_Change() { CheckInputs(); }
    void Text2_Change() { CheckInputs(); }
    void Text3_Change() { CheckInputs(); }

    GridResult Command1_Click();  // ">>": Δf = 1/(N·Δt)
    GridResult Command2_Click();  // "<<": Δt = 1/(N·Δf)
    // Re-display the stored Δt (Δf) in the new unit. When the value cannot be shown in it, the
    // list goes back to the unit the field's text is in, without running this handler again.
    GridResult Combo1_Click();
    GridResult Combo2_Click();

    GridResult Option1_Click(std::int16_t Index);
    GridResult Check1_Click() { return UpdateFormulaPicture(); }
    GridResult Check2_Click() { return UpdateFormulaPicture(); }

    void CheckInputs();
    GridResult ShowGrids();
    // Refreshes the summary, then loads the picture for the current choices. A failing summary
    // stops it before the picture is loaded.
    GridResult UpdateFormulaPicture();

    // Path of formula picture k (1…8) in the folder.
    std::string picturePath(int k) const;

    GridState& state() { return m_state; }
    const GridState& state() const { return m_state; }
    const std::string& folder() const { return m_folder; }

  private:
    GridResult transfer(const Domain& from, const Domain& to);
    GridResult redisplay(const Domain& domain);

    GridWindow& m_window;
    GridState& m_state;
    std::string m_folder;
    // The list index that the text of Text1 and of Text3 is in: the selection, except while a
    // refused unit change puts the list back.
    std::array<int, 2> m_unitOfText{-1, -1};
    bool m_restoringUnit = false;
};

}  // namespace quintrel
