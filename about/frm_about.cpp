#include "about/frm_about.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "widgets/twips.h"

namespace quintrel {

namespace {

// The client area, in twips.
constexpr int kClientWidthTwips = 5865;
constexpr int kClientHeightTwips = 3465;
// A program icon's side, 32 pixels at 96 dpi.
constexpr int kIconTwips = 480;

// The two lines of the etched separator, from (x1, y) to (x2, y) in twips, drawn in this order
// so the grey one lies over the white one's upper edge.
struct Line {
    int x1;
    int x2;
    int y;
    QColor colour;
    int widthPixels;
};
constexpr int kSeparatorY = 2430;

}  // namespace

frmAbout::frmAbout(QWidget* owner, AboutProperties properties,
                   std::unique_ptr<registry::Registry> registry,
                   std::unique_ptr<ProgramStarter> starter)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_properties(std::move(properties)),
      m_registry(registry ? std::move(registry) : registry::hostRegistry()),
      m_starter(starter ? std::move(starter) : std::make_unique<DetachedProgramStarter>()) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quintrel"));
    // The owner's font and palette, so the box matches the main window.
    setAttribute(Qt::WA_WindowPropagation);
    if (owner) {
        setFont(owner->font());
    }
    setModal(true);
    setFixedSize(twipsToPixelsX(*this, kClientWidthTwips),
                 twipsToPixelsY(*this, kClientHeightTwips));
    createWidgets();
    Form_Load();
}

frmAbout::~frmAbout() = default;

QLabel* frmAbout::makeLabel(const char* name, const QString& caption, int left, int top, int width,
                            int height) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(twipsToPixels(*this, left, top, width, height));
    return label;
}

void frmAbout::createWidgets() {
    picIcon = makeLabel("picIcon", QString(), 240, 240, 540, 540);
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setAutoFillBackground(true);
    QPalette iconPalette = picIcon->palette();
    iconPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    picIcon->setPalette(iconPalette);
    // The main window's icon, which a dialog takes over from its owner, in the image drawn for
    // the size it takes on this screen: 32 pixels at 96 dpi, times the screen's scale.
    const int iconPixels = twipsToPixelsX(*this, kIconTwips);
    picIcon->setPixmap(windowIcon().pixmap(QSize(iconPixels, iconPixels), devicePixelRatioF()));

    lblTitle = makeLabel("lblTitle", QStringLiteral("Application Title"), 1050, 240, 4092, 480);
    lblVersion = makeLabel("lblVersion", QStringLiteral("Version"), 1050, 780, 4092, 225);
    lblDescription = makeLabel("lblDescription",
                               QStringLiteral("Quintrel calculates time and frequency grids and "
                                              "conversion formulas for the Fourier Transform."),
                               1050, 1125, 4092, 1170);
    QPalette black = lblDescription->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblDescription->setPalette(black);
    lblDisclaimer = makeLabel("lblDisclaimer",
                              QStringLiteral("This program is provided as is, without warranty "
                                             "of any kind."),
                              240, 2625, 3870, 795);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsToPixels(*this, 4245, 2625, 1467, 345));
    cmdOK->setDefault(true);  // Enter; Esc closes a dialog as the cancel button would
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsToPixels(*this, 4260, 3075, 1452, 345));

    // The labels and the icon take no focus, so Tab moves between the two buttons only.
    QWidget* const order[] = {cmdOK,      cmdSysInfo, picIcon,       lblDisclaimer,
                              lblVersion, lblTitle,   lblDescription};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    cmdOK->setFocus(Qt::OtherFocusReason);

    // For screen readers: the icon has no text of its own, and a button's name drops its "&".
    picIcon->setAccessibleName(QStringLiteral("Quintrel icon"));
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    cmdSysInfo->setAccessibleName(QStringLiteral("System Info..."));
    for (QLabel* label : {lblDescription, lblDisclaimer}) {
        label->setAccessibleName(label->text());
    }

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load() {
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(m_properties.major)
                            .arg(m_properties.minor)
                            .arg(m_properties.revision));
    lblTitle->setText(m_properties.title);
    for (QLabel* label : {lblVersion, lblTitle}) {
        label->setAccessibleName(label->text());
    }
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo(*m_registry, *m_starter, this, m_properties.title);
}

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const Line lines[] = {
        {240, 5657, kSeparatorY + 15, Qt::white, 2},         // Line1(0)
        {225, 5657, kSeparatorY, QColor(128, 128, 128), 1},  // Line1(1)
    };
    QPainter painter(this);
    for (const Line& line : lines) {
        painter.setPen(QPen(line.colour, line.widthPixels, Qt::SolidLine, Qt::FlatCap));
        const int y = twipsToPixelsY(*this, line.y);
        painter.drawLine(twipsToPixelsX(*this, line.x1), y, twipsToPixelsX(*this, line.x2), y);
    }
}

}  // namespace quintrel
