// Keeps an editable unit list's selection equal to the text in its edit part.
#pragma once

class QComboBox;

namespace quintrel {

// Text typed or pasted into the list's edit part that is exactly one of its entries selects that
// entry, as a choice from the drop-down does, and runs the same selection handler; any other text
// stays as typed and leaves the list with no selection (index -1). So the unit shown is always
// the unit the calculator uses and a menu file stores.
void followTypedEntry(QComboBox& list);

}  // namespace quintrel
