// Names and descriptions of the main window's controls for screen readers and other assistive
// tools.
#pragma once

class QWidget;

namespace quintrel {

// Gives every control of the main window its accessible name, and the fields that carry a
// tooltip that tooltip as their accessible description. Controls are found by object name.
void nameMainWindowControls(QWidget& window);

}  // namespace quintrel
