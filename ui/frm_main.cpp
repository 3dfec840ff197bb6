#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "about/frm_about.h"
#include "about/help_commands.h"
#include "core/formula_picture.h"
#include "core/units.h"
#include "data/icons/quintrel16.xpm"
#include "data/icons/quintrel32.xpm"
#include "menufile/file_commands.h"
#include "platform/help/win_help.h"
#include "platform/wmf/picture_box.h"
#include "ui/accessible_names.h"
#include "ui/app_properties.h"
#include "ui/formula_description.h"
#include "ui/frm_main_layout.h"
#include "ui/status_bar.h"
#include "ui/summary_label.h"
#include "ui/twips.h"
#include "ui/unit_list.h"
#include "ui/window_placement.h"

namespace quintrel {

namespace {

// Built from the included XPM arrays: reading the PNG files through QImageReader would load the
// metadata of every image plugin first, about a millisecond of start-up.
QIcon programIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(quintrel16_xpm));
    icon.addPixmap(QPixmap(quintrel32_xpm));
    return icon;
}

template <typename Widget>
Widget* makeControl(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void setLabelCaption(QLabel& label, const QString& caption) {
    label.setText(caption);
    label.setTextFormat(Qt::PlainText);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(true);  // the summary lines wrap at blanks
}

QComboBox* makeUnitList(QWidget* parent, const char* name, auto units) {
    auto* combo = makeControl<QComboBox>(parent, name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (std::size_t i = 0; i < units.size(); ++i) {
        combo->addItem(QString::fromUtf8(units[i].data(), static_cast<qsizetype>(units[i].size())),
                       static_cast<int>(i));
    }
    combo->setCurrentIndex(-1);  // no selection until the start state picks one
    followTypedEntry(*combo);
    return combo;
}

QLineEdit* makeField(QWidget* parent, const char* name, const QString& toolTip) {
    auto* edit = makeControl<QLineEdit>(parent, name);
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setToolTip(toolTip);
    return edit;
}

// Check-box states as the handlers know them: 0 cleared, 1 ticked, 2 greyed.
int toHandlerState(Qt::CheckState state) {
    switch (state) {
        case Qt::Unchecked:
            return kUnchecked;
        case Qt::PartiallyChecked:
            return kGrayed;
        case Qt::Checked:
            break;
    }
    return kChecked;
}

Qt::CheckState toQtState(int state) {
    switch (state) {
        case kUnchecked:
            return Qt::Unchecked;
        case kGrayed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Checked;
    }
}

}  // namespace

QFont frmMain::designFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

frmMain::frmMain(const QString& folder, QWidget* parent)
    : QMainWindow(parent),
      m_handlers(*this, m_state, folder.toStdString()),
      m_fileDialog(std::make_unique<QtFileDialog>(this)),
      m_reporter(std::make_unique<QtMessageReporter>(this)),
      m_fileCommands(
          std::make_unique<FileCommands>(*this, m_handlers, m_state, *m_fileDialog, *m_reporter)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(app::Title());
    setWindowIcon(programIcon());
    setFont(designFont());

    createActions();
    createMenus();
    createWidgets();
    createConnections();
    nameMainWindowControls(*this);

    resize(twipsToPixelsX(*this, kClientWidthTwips),
           menuBar()->sizeHint().height() + twipsToPixelsY(*this, kClientHeightTwips));
    Form_Load();
}

frmMain::~frmMain() {
    // The controls are destroyed after the handlers they signal; keep them quiet from here on.
    for (QObject* child : findChildren<QObject*>()) {
        child->blockSignals(true);
    }
}

void frmMain::createActions() {
    const auto action = [this](const char* name, const QString& caption) {
        auto* item = new QAction(caption, this);
        item->setObjectName(QLatin1String(name));
        return item;
    };
    const auto separator = [this](const char* name) {
        auto* item = new QAction(this);
        item->setObjectName(QLatin1String(name));
        item->setSeparator(true);
        return item;
    };
    mnuFileOpen = action("mnuFileOpen", QStringLiteral("&Open..."));
    mnuFileSave = action("mnuFileSave", QStringLiteral("&Save"));
    mnuFileSaveAs = action("mnuFileSaveAs", QStringLiteral("Save &As..."));
    mnuFileBar0 = separator("mnuFileBar0");
    mnuFileExit = action("mnuFileExit", QStringLiteral("E&xit"));
    mnuHelpContents = action("mnuHelpContents", QStringLiteral("&Contents"));
    mnuHelpSearchForHelpOn =
        action("mnuHelpSearchForHelpOn", QStringLiteral("&Search For Help On..."));
    mnuHelpBar0 = separator("mnuHelpBar0");
    mnuHelpAbout = action("mnuHelpAbout", QStringLiteral("&About "));
}

void frmMain::createMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addActions({mnuFileOpen, mnuFileSave, mnuFileSaveAs, mnuFileBar0, mnuFileExit});

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addActions({mnuHelpContents, mnuHelpSearchForHelpOn, mnuHelpBar0, mnuHelpAbout});
}

void frmMain::createWidgets() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client);

    FrameTD = makeControl<QGroupBox>(client, "FrameTD");
    Label1 = makeControl<QLabel>(FrameTD, "Label1");
    Text1 = makeField(FrameTD, "Text1", QStringLiteral("The difference between time points."));
    Combo1 = makeUnitList(FrameTD, "Combo1", TimeUnits);
    Label7 = makeControl<QLabel>(FrameTD, "Label7");
    Label2 = makeControl<QLabel>(FrameTD, "Label2");
    Label6 = makeControl<QLabel>(FrameTD, "Label6");

    Command1 = makeControl<QPushButton>(client, "Command1");
    Command2 = makeControl<QPushButton>(client, "Command2");
    // Enter presses the focused transfer button as Space does; neither becomes a default button.
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);

    Frame1 = makeControl<QGroupBox>(client, "Frame1");
    Label3 = makeControl<QLabel>(Frame1, "Label3");
    Text3 = makeField(Frame1, "Text3", QStringLiteral("The difference between frequency points"));
    Combo2 = makeUnitList(Frame1, "Combo2", FrequencyUnits);
    Label8 = makeControl<QLabel>(Frame1, "Label8");
    Label5 = makeControl<QLabel>(Frame1, "Label5");

    Label4 = makeControl<QLabel>(client, "Label4");
    Text2 = makeField(client, "Text2",
                      QStringLiteral("The number of points in the discretized version of the "
                                     "Fourier Transform. This must be an integer greater than 3."));

    Picture1 = makeControl<PictureBox>(client, "Picture1");
    Picture1->setFocusPolicy(Qt::StrongFocus);
    // The system's window background and window text, in Qt's terms the Base and Text roles
    // (white paper and black ink), not the grey of dialogs and buttons.
    QPalette picturePalette = Picture1->palette();
    picturePalette.setColor(QPalette::Window, picturePalette.color(QPalette::Base));
    picturePalette.setColor(QPalette::WindowText, picturePalette.color(QPalette::Text));
    Picture1->setPalette(picturePalette);
    Picture1->setAutoFillBackground(true);

    Option1[0] = makeControl<QRadioButton>(client, "Option1_0");
    Option1[1] = makeControl<QRadioButton>(client, "Option1_1");
    Check1 = makeControl<QCheckBox>(client, "Check1");
    Check2 = makeControl<QCheckBox>(client, "Check2");

    // Every control takes its place and caption from the layout table.
    for (const ControlLayout& row : kFrmMainLayout) {
        auto* control = client->findChild<QWidget*>(
            QLatin1String(row.name.data(), static_cast<qsizetype>(row.name.size())));
        control->setGeometry(twipsToPixels(*this, row.left, row.top, row.width, row.height));
        const QString caption =
            QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size()));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            setLabelCaption(*label, caption);
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            frame->setTitle(caption);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(caption);
        }
    }
    for (QLabel* summary : {Label2, Label5, Label6}) {
        makeSummaryLabel(*summary);
    }

    sbStatusBar = new StatusBar(this);
    sbStatusBar->setFixedHeight(twipsToPixelsY(*this, kStatusBarHeightTwips));
    setStatusBar(sbStatusBar);

    // The Tab key visits the controls in this order and then starts again.
    m_tabOrder = {Option1[0], Option1[1], Text1,    Combo1,   Text3,  Combo2,
                  Text2,      Command1,   Command2, Picture1, Check1, Check2};
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i) {
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
    }
}

bool frmMain::focusNextPrevChild(bool next) {
    // The list entry that holds the focus, also when an editable list's text field has it.
    QWidget* focus = focusWidget();
    auto current = m_tabOrder.cend();
    for (; focus && current == m_tabOrder.cend(); focus = focus->parentWidget()) {
        current = std::find(m_tabOrder.cbegin(), m_tabOrder.cend(), focus);
    }
    if (current == m_tabOrder.cend()) {
        return QMainWindow::focusNextPrevChild(next);  // the focus is elsewhere, e.g. in the menu
    }
    const auto count = static_cast<std::ptrdiff_t>(m_tabOrder.size());
    std::ptrdiff_t index = current - m_tabOrder.cbegin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        index = (index + (next ? 1 : count - 1)) % count;
        QWidget* candidate = m_tabOrder[static_cast<std::size_t>(index)];
        if (candidate->isEnabled() && candidate->isVisibleTo(this)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;  // the only control that can take the focus keeps it
}

void frmMain::createConnections() {
    connect(Text1, &QLineEdit::textChanged, this, &frmMain::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmMain::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmMain::Text3_Change);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmMain::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmMain::Combo2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    for (int i = 0; i < 2; ++i) {
        connect(Option1[static_cast<std::size_t>(i)], &QRadioButton::toggled, this,
                [this, i](bool selected) {
                    if (selected) {
                        Option1_Click(i);
                    }
                });
    }
    connect(Check1, &QCheckBox::stateChanged, this, [this] {
        onCheckStateChanged(Check1);
        Check1_Click();
    });
    connect(Check2, &QCheckBox::stateChanged, this, [this] {
        onCheckStateChanged(Check2);
        Check2_Click();
    });

    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpSearchForHelpOn, &QAction::triggered, this,
            &frmMain::mnuHelpSearchForHelpOn_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

// --- GridWindow --------------------------------------------------------------------------------

QLineEdit* frmMain::field(TextField which) const {
    switch (which) {
        case TextField::Text1:
            return Text1;
        case TextField::Text2:
            return Text2;
        case TextField::Text3:
            break;
    }
    return Text3;
}

QComboBox* frmMain::list(UnitList which) const {
    return which == UnitList::Combo1 ? Combo1 : Combo2;
}

QCheckBox* frmMain::box(CheckBox which) const {
    return which == CheckBox::Check1 ? Check1 : Check2;
}

void frmMain::runChangeHandler(TextField which) {
    switch (which) {
        case TextField::Text1:
            Text1_Change();
            return;
        case TextField::Text2:
            Text2_Change();
            return;
        case TextField::Text3:
            Text3_Change();
            return;
    }
}

std::string frmMain::text(TextField which) const {
    return field(which)->text().toStdString();
}

void frmMain::setText(TextField which, std::string_view text) {
    QLineEdit* edit = field(which);
    const QString newText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (edit->text() == newText) {
        // Qt sends no textChanged for the same text; the write still counts as an edit.
        runChangeHandler(which);
    } else {
        edit->setText(newText);
    }
    // A text the program writes is read from its start, as a long result's leading digits matter
    // most; QLineEdit would leave the cursor, and the view, at the end.
    edit->setCursorPosition(0);
}

void frmMain::setEnabled(TransferButton button, bool enabled) {
    (button == TransferButton::Command1 ? Command1 : Command2)->setEnabled(enabled);
}

void frmMain::setCaption(SummaryLabel label, std::string_view caption) {
    QLabel* target = label == SummaryLabel::Label2   ? Label2
                     : label == SummaryLabel::Label5 ? Label5
                                                     : Label6;
    setSummaryText(*target,
                   QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

int frmMain::selectedIndex(UnitList which) const {
    return list(which)->currentIndex();
}

void frmMain::setSelectedIndex(UnitList which, int index) {
    list(which)->setCurrentIndex(index);
}

bool frmMain::isOptionSelected(int index) const {
    return (index == 0 || index == 1) && Option1[static_cast<std::size_t>(index)]->isChecked();
}

void frmMain::setOptionSelected(int index, bool selected) {
    if (index != 0 && index != 1) {
        return;
    }
    QRadioButton* button = Option1[static_cast<std::size_t>(index)];
    if (selected || !button->isChecked()) {
        button->setChecked(selected);
        return;
    }
    // An exclusive button ignores being cleared on its own, which would leave the pair with the
    // old selection; lift the exclusivity for this one change.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

int frmMain::checkState(CheckBox which) const {
    return toHandlerState(box(which)->checkState());
}

void frmMain::setCheckState(CheckBox which, int state) {
    box(which)->setCheckState(toQtState(state));
}

bool frmMain::loadPicture(const std::string& path) {
    m_picturePath = QString::fromStdString(path);
    if (Picture1->loadPicture(m_picturePath)) {
        m_unreadablePicture.clear();
        // The picture asked for is always the one the current choices select.
        const int k = pictureNumber(m_state.SignalKind != 0, Check1->checkState() != Qt::Unchecked,
                                    Check2->checkState() != Qt::Unchecked);
        Picture1->setAccessibleDescription(QString::fromStdString(formulaDescription(k)));
        return true;
    }
    Picture1->setAccessibleDescription(QStringLiteral("No formula picture: ") +
                                       QDir::toNativeSeparators(m_picturePath) +
                                       QStringLiteral(" could not be read."));
    // Reported once the current step is over: a menu file sets three choices in a row and should
    // cause one message about the picture finally chosen, and at start-up the window should be on
    // screen before the message.
    m_unreadablePicture = m_picturePath;
    if (!m_pictureReportQueued) {
        m_pictureReportQueued = true;
        QMetaObject::invokeMethod(this, &frmMain::reportUnreadablePicture, Qt::QueuedConnection);
    }
    return false;
}

std::string frmMain::decimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}

// --- Handlers ----------------------------------------------------------------------------------

void frmMain::Form_Load() {
    // An unreadable first picture leaves Picture1 empty and is reported by loadPicture; the
    // calculator works without it.
    m_handlers.Form_Load();
}

void frmMain::Form_Unload() {
    // Unload every other open window, the last loaded first. Qt lists its native windows in the
    // order they were created, that is the order in which the forms were first shown; the set of
    // top-level widgets has no order at all.
    std::vector<QPointer<QWidget>> loaded;
    for (QWindow* handle : QGuiApplication::topLevelWindows()) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const Qt::WindowType type = window->windowType();
            if (window->windowHandle() == handle && window != this && window->isVisible() &&
                (type == Qt::Window || type == Qt::Dialog)) {
                loaded.emplace_back(window);
            }
        }
    }
    for (auto it = loaded.crbegin(); it != loaded.crend(); ++it) {
        if (*it) {  // closing one window may have taken another with it
            (*it)->close();
        }
    }
    if (!isMinimized()) {
        // A store that cannot be written costs only the placement, which is never read back;
        // the exit goes on regardless.
        savePlacement(placementOf(*this));
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::Text1_Change() {
    m_handlers.Text1_Change();
}

void frmMain::Text2_Change() {
    m_handlers.Text2_Change();
}

void frmMain::Text3_Change() {
    m_handlers.Text3_Change();
}

void frmMain::Command1_Click() {
    report(m_handlers.Command1_Click());
}

void frmMain::Command2_Click() {
    report(m_handlers.Command2_Click());
}

void frmMain::Combo1_Click() {
    report(m_handlers.Combo1_Click());
}

void frmMain::Combo2_Click() {
    report(m_handlers.Combo2_Click());
}

void frmMain::Option1_Click(int Index) {
    report(m_handlers.Option1_Click(static_cast<std::int16_t>(Index)));
}

void frmMain::Check1_Click() {
    report(m_handlers.Check1_Click());
}

void frmMain::Check2_Click() {
    report(m_handlers.Check2_Click());
}

void frmMain::onCheckStateChanged(QCheckBox* checkBox) {
    // The greyed state is only ever set by the program; once it is left, clicks toggle between
    // cleared and ticked again.
    if (checkBox->checkState() != Qt::PartiallyChecked) {
        checkBox->setTristate(false);
    }
}

void frmMain::mnuFileOpen_Click() {
    m_fileCommands->mnuFileOpen_Click();
}

void frmMain::mnuFileSave_Click() {
    m_fileCommands->mnuFileSave_Click();
}

void frmMain::mnuFileSaveAs_Click() {
    m_fileCommands->mnuFileSaveAs_Click();
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::mnuHelpContents_Click() {
    showHelpContents(this, app::HelpFile(), app::Folder(), app::Title(), &help::WinHelpA);
}

void frmMain::mnuHelpSearchForHelpOn_Click() {
    showHelpIndex(this, app::Folder(), app::Title(), &help::WinHelpA);
}

void frmMain::mnuHelpAbout_Click() {
    // Loaded on each use and unloaded when closed, so every opening shows freshly loaded labels.
    const app::Version version = app::version();
    frmAbout about(this, {app::Title(), version.major, version.minor, version.revision});
    about.exec();
}

void frmMain::report(GridResult result) {
    if (!result.ok()) {
        m_reporter->warn(result.message());
    }
}

void frmMain::reportUnreadablePicture() {
    m_pictureReportQueued = false;
    if (m_unreadablePicture.isEmpty()) {
        return;  // a later load of another picture succeeded
    }
    const QString path = std::exchange(m_unreadablePicture, QString());
    m_reporter->warn("The formula picture could not be read: " +
                     QDir::toNativeSeparators(path).toStdString());
}

}  // namespace quintrel
