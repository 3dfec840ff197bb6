// The main window's design: one row per control with its parent, position and size in twips
// (1/1440 inch; inside a group frame they count from the frame's corner) and its caption.
#pragma once

#include <array>
#include <string_view>

namespace quintrel {

struct ControlLayout {
    std::string_view name;    // the control's objectName
    std::string_view parent;  // "frmMainClient" for the window's client area, else a frame
    int left, top, width, height;
    std::string_view caption;  // empty for fields, lists and the picture
};

// The client area below the menu bar, status bar included, and the status bar's height.
inline constexpr int kClientWidthTwips = 8685;
inline constexpr int kClientHeightTwips = 6660;
inline constexpr int kStatusBarHeightTwips = 270;

// In reading order. Where a measure differs from the original design, the comment says why; the
// frames are 300 twips taller than designed, and everything below them moved down by as much.
inline constexpr std::array<ControlLayout, 22> kFrmMainLayout = {{
    {"FrameTD", "frmMainClient", 120, 120, 3855, 2115, "Temporal Representation"},
    {"Label1", "FrameTD", 120, 360, 615, 255, "delta t"},
    // 2070, not 1215: the widest number the program writes, 1.79769313486231E+308, shows whole.
    {"Text1", "FrameTD", 720, 360, 2070, 285, ""},
    {"Combo1", "FrameTD", 2895, 360, 855, 315, ""},
    {"Label7", "FrameTD", 120, 840, 3615, 255, "Time points for numerical transforms:"},
    // Two whole lines, 390 not 375: the time grid with two 21-character numbers needs both.
    {"Label2", "FrameTD", 120, 1080, 3615, 390, "t="},
    {"Label6", "FrameTD", 120, 1470, 3615, 255, "T="},
    {"Command1", "frmMainClient", 4080, 360, 495, 255, ">>"},
    {"Command2", "frmMainClient", 4080, 840, 495, 255, "<<"},
    {"Frame1", "frmMainClient", 4680, 120, 3855, 2115, "Frequency-Domain Representation"},
    {"Label3", "Frame1", 120, 360, 615, 255, "delta f"},
    {"Text3", "Frame1", 720, 360, 2070, 285, ""},  // as wide as Text1, for the same reason
    {"Combo2", "Frame1", 2895, 360, 855, 315, ""},
    {"Label8", "Frame1", 120, 840, 3495, 255, "Frequency points for numerical transforms:"},
    // Five whole lines, 975 not 375: five 21-character numbers with their units wrap to five.
    {"Label5", "Frame1", 120, 1080, 3615, 975, "f="},
    {"Label4", "frmMainClient", 120, 2340, 1455, 255, "Number of points N"},
    {"Text2", "frmMainClient", 1800, 2340, 1095, 285, ""},
    {"Picture1", "frmMainClient", 120, 2820, 8415, 2775, ""},
    {"Option1_0", "frmMainClient", 120, 5820, 3135, 255, "Single pulse with finite energy"},
    {"Option1_1", "frmMainClient", 120, 6060, 3975, 255,
     "Repetative signal with period T and finite power"},
    {"Check1", "frmMainClient", 4560, 5820, 3975, 255,
     "Alternate normalization for numerical transforms"},
    {"Check2", "frmMainClient", 4560, 6060, 3975, 255, "Alternate sign convention"},
}};

}  // namespace quintrel
