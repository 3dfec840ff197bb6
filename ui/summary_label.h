// The three grid-summary labels: text the user can select and copy, and the whole line as a
// tooltip where the label is too small to show all of it.
#pragma once

class QLabel;
class QString;

namespace quintrel {

// Makes label selectable with the mouse (not a Tab stop) with a context menu whose Copy takes
// the selection, or the whole line when nothing is selected.
void makeSummaryLabel(QLabel& label);

// Shows text; when its wrapped lines need more room than the label has, the label also carries
// the whole text as its tooltip, and otherwise none.
void setSummaryText(QLabel& label, const QString& text);

}  // namespace quintrel
