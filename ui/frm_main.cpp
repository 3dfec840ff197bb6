#include "ui/frm_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "about/frm_about.h"
#include "about/help_commands.h"
#include "core/formula_picture.h"
#include "data/icons/quintrel_icon_pixels.h"
#include "menufile/file_commands.h"
#include "ui/accessible_names.h"
#include "ui/app_properties.h"
#include "ui/formula_description.h"
#include "ui/frm_main_layout.h"
#include "ui/grid_window_adapter.h"
#include "ui/picture_box.h"
#include "ui/window_placement.h"
#include "widgets/twips.h"

namespace quintrel {

namespace {

// Built from the icon's pixels compiled in: reading the PNG files through QImageReader would load
// the metadata of every image plugin first, about a millisecond of start-up, and decoding the
// XPM images 1.5 M instructions. The 48 and 64 pixel images serve screens at 1.5 and 2 times
// 96 dpi.
QIcon programIcon() {
    struct Image {
        const unsigned int* pixels;
        int size;
    };
    QIcon icon;
    for (const Image& image : {Image{quintrel16_argb, 16}, Image{quintrel32_argb, 32},
                               Image{quintrel48_argb, 48}, Image{quintrel64_argb, 64}}) {
        // Wraps the array without copying; the pixmap takes a copy of its own.
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(image.pixels),
                                                 image.size, image.size, QImage::Format_RGB32)));
    }
    return icon;
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
      m_adapter(std::make_unique<GridWindowAdapter>(*this)),
      m_handlers(*m_adapter, m_state, folder.toStdString()),
      m_fileDialog(std::make_unique<QtFileDialog>(this)),
      m_reporter(std::make_unique<QtMessageReporter>(this)),
      m_fileCommands(std::make_unique<FileCommands>(*m_adapter, m_handlers, m_state, *m_fileDialog,
                                                    *m_reporter)) {
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

GridWindow& frmMain::gridWindow() {
    return *m_adapter;
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

bool frmMain::showFormulaPicture(const QString& path) {
    m_picturePath = path;
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
    showHelpContents(this, app::HelpFile(), app::Folder(), app::Title());
}

void frmMain::mnuHelpSearchForHelpOn_Click() {
    showHelpIndex(this, app::Folder(), app::Title());
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
