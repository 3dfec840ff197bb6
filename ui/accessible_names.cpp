#include "ui/accessible_names.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace quintrel {

namespace {

struct AccessibleName {
    const char* objectName;
    const char* name;
};

// A button's or a field's caption alone ("<<", an empty field) says little to someone who cannot
// see the window, so the names say what the control holds or does. Labels keep their captions.
// A label's accessible name replaces its text for a screen reader, so the labels that show values
// (the summary lines, the date and time panels) are named here only where the value travels
// elsewhere: the summary lines carry theirs as description (setSummaryText).
constexpr AccessibleName kNames[] = {
    {"frmMain", "Quintrel"},
    {"frmMainClient", "Grid calculator"},
    {"mnuFile", "File"},
    {"mnuHelp", "Help"},
    {"FrameTD", "Temporal Representation"},
    {"Label1", "delta t"},
    {"Text1", "delta t, the time step"},
    {"Combo1", "Unit of delta t"},
    {"Label7", "Time points for numerical transforms:"},
    {"Label2", "Time points"},
    {"Label6", "Period"},
    {"Command1", "Calculate delta f from delta t and N (>>)"},
    {"Command2", "Calculate delta t from delta f and N (<<)"},
    {"Frame1", "Frequency-Domain Representation"},
    {"Label3", "delta f"},
    {"Text3", "delta f, the frequency step"},
    {"Combo2", "Unit of delta f"},
    {"Label8", "Frequency points for numerical transforms:"},
    {"Label5", "Frequency points"},
    {"Label4", "Number of points N"},
    {"Text2", "Number of points N"},
    {"Picture1", "Formula picture"},
    {"Option1_0", "Single pulse with finite energy"},
    {"Option1_1", "Repetative signal with period T and finite power"},
    {"Check1", "Alternate normalization for numerical transforms"},
    {"Check2", "Alternate sign convention"},
    {"sbStatusBar", "Status bar"},
    {"sbStatusBarPanel1", "Status"},
};

}  // namespace

void nameMainWindowControls(QWidget& window) {
    for (const AccessibleName& entry : kNames) {
        const QString objectName = QLatin1String(entry.objectName);
        QWidget* control =
            window.objectName() == objectName ? &window : window.findChild<QWidget*>(objectName);
        if (!control) {
            continue;
        }
        const QString name = QLatin1String(entry.name);
        control->setAccessibleName(name);
        if (auto* list = qobject_cast<QComboBox*>(control); list && list->lineEdit()) {
            list->lineEdit()->setAccessibleName(name);  // it holds the focus for an editable list
        }
        if (!control->toolTip().isEmpty()) {
            control->setAccessibleDescription(control->toolTip());
        }
    }
}

}  // namespace quintrel
