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
#include "ui/status_bar.h"
#include "ui/summary_label.h"
#include "ui/twips.h"
#include "ui/unit_list.h"
#include "ui/window_placement.h"

namespace quintrel {

namespace {

// The design's client area below the menu bar, status bar included, and the status bar's height.
constexpr int kClientWidthTwips = 8685;
constexpr int kClientHeightTwips = 6360;
constexpr int kStatusBarHeightTwips = 270;

// Built from the included XPM arrays: reading the PNG files through QImageReader would load the
// metadata of every image plugin first, about a millisecond of start-up. The 48 and 64 pixel
// images (about 0.1 ms to read) serve screens at 1.5 and 2 times 96 dpi.
QIcon programIcon() {
#include "data/icons/quintrel48.xpm"
#include "data/icons/quintrel64.xpm"
    QIcon icon;
    for (const char* const* image :
         {quintrel16_xpm, quintrel32_xpm, quintrel48_xpm, quintrel64_xpm}) {
        icon.addPixmap(QPixmap(image));
    }
    return icon;
}

template <typename Widget>
Widget* makeControl(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = makeControl<QLabel>(parent, name);
    label->setText(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);  // the summary lines take a second line when they need one
    return label;
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

void frmMain::placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(*this, left, top, width, height));
}

void frmMain::createWidgets() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client);

    // Positions and sizes in twips; inside a frame they count from the frame's corner.
    FrameTD = makeControl<QGroupBox>(client, "FrameTD");
    FrameTD->setTitle(QStringLiteral("Temporal Representation"));
    placeInTwips(FrameTD, 120, 120, 3855, 1815);
    Label1 = makeLabel(FrameTD, "Label1", QStringLiteral("delta t"));
    placeInTwips(Label1, 120, 360, 615, 255);
    Text1 = makeField(FrameTD, "Text1", QStringLiteral("The difference between time points."));
    placeInTwips(Text1, 720, 360, 1215, 285);
    Combo1 = makeUnitList(FrameTD, "Combo1", TimeUnits);
    placeInTwips(Combo1, 2040, 360, 855, 315);
    Label7 = makeLabel(FrameTD, "Label7", QStringLiteral("Time points for numerical transforms:"));
    placeInTwips(Label7, 120, 840, 3615, 255);
    Label2 = makeLabel(FrameTD, "Label2", QStringLiteral("t="));
    placeInTwips(Label2, 120, 1080, 3615, 375);
    Label6 = makeLabel(FrameTD, "Label6", QStringLiteral("T="));
    placeInTwips(Label6, 120, 1440, 3615, 255);
    // Two lines of the time grid need a pixel or two more than the design's 375 twips; the few
    // pixels reach into the blank top of the period line's first line.
    growToLines(*Label2, 2);

    Command1 = makeControl<QPushButton>(client, "Command1");
    Command1->setText(QStringLiteral(">>"));
    placeInTwips(Command1, 4080, 360, 495, 255);
    Command2 = makeControl<QPushButton>(client, "Command2");
    Command2->setText(QStringLiteral("<<"));
    placeInTwips(Command2, 4080, 840, 495, 255);
    // Enter presses the focused transfer button as Space does; neither becomes a default button.
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);

    Frame1 = makeControl<QGroupBox>(client, "Frame1");
    Frame1->setTitle(QStringLiteral("Frequency-Domain Representation"));
    placeInTwips(Frame1, 4680, 120, 3855, 1815);
    Label3 = makeLabel(Frame1, "Label3", QStringLiteral("delta f"));
    placeInTwips(Label3, 120, 360, 615, 255);
    Text3 = makeField(Frame1, "Text3", QStringLiteral("The difference between frequency points"));
    placeInTwips(Text3, 720, 360, 1215, 285);
    Combo2 = makeUnitList(Frame1, "Combo2", FrequencyUnits);
    placeInTwips(Combo2, 2040, 360, 855, 315);
    Label8 =
        makeLabel(Frame1, "Label8", QStringLiteral("Frequency points for numerical transforms:"));
    placeInTwips(Label8, 120, 840, 3495, 255);
    Label5 = makeLabel(Frame1, "Label5", QStringLiteral("f="));
    placeInTwips(Label5, 120, 1080, 3615, 375);
    // The frequency grid is the longest line; it takes the frame's free height below it.
    growToFrameBottom(*Label5);
    for (QLabel* summary : {Label2, Label5, Label6}) {
        makeSummaryLabel(*summary);
    }

    Label4 = makeLabel(client, "Label4", QStringLiteral("Number of points N"));
    placeInTwips(Label4, 120, 2040, 1455, 255);
    Text2 = makeField(client, "Text2",
                      QStringLiteral("The number of points in the discretized version of the "
                                     "Fourier Transform. This must be an integer greater than 3."));
    placeInTwips(Text2, 1800, 2040, 1095, 285);

    Picture1 = makeControl<PictureBox>(client, "Picture1");
    Picture1->setFocusPolicy(Qt::StrongFocus);
    // The system's window background and window text, in Qt's terms the Base and Text roles
    // (white paper and black ink), not the grey of dialogs and buttons.
    QPalette picturePalette = Picture1->palette();
    picturePalette.setColor(QPalette::Window, picturePalette.color(QPalette::Base));
    picturePalette.setColor(QPalette::WindowText, picturePalette.color(QPalette::Text));
    Picture1->setPalette(picturePalette);
    Picture1->setAutoFillBackground(true);
    placeInTwips(Picture1, 120, 2520, 8415, 2775);

    Option1[0] = makeControl<QRadioButton>(client, "Option1_0");
    Option1[0]->setText(QStringLiteral("Single pulse with finite energy"));
    placeInTwips(Option1[0], 120, 5520, 3135, 255);
    Option1[1] = makeControl<QRadioButton>(client, "Option1_1");
    Option1[1]->setText(QStringLiteral("Repetative signal with period T and finite power"));
    placeInTwips(Option1[1], 120, 5760, 3975, 255);

    Check1 = makeControl<QCheckBox>(client, "Check1");
    Check1->setText(QStringLiteral("Alternate normalization for numerical transforms"));
    placeInTwips(Check1, 4560, 5520, 3975, 255);
    Check2 = makeControl<QCheckBox>(client, "Check2");
    Check2->setText(QStringLiteral("Alternate sign convention"));
    placeInTwips(Check2, 4560, 5760, 3975, 255);

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

std::string frmMain::text(TextField which) const {
    return field(which)->text().toStdString();
}

void frmMain::setText(TextField which, std::string_view text) {
    QLineEdit* edit = field(which);
    edit->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
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
