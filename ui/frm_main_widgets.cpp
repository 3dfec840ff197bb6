// frmMain's controls, menus and status bar, built from the layout table, and the wiring of their
// events to the handlers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

#include "core/units.h"
#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/picture_box.h"
#include "ui/status_bar.h"
#include "ui/summary_label.h"
#include "ui/unit_list.h"
#include "widgets/twips.h"

namespace quintrel {

namespace {

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

}  // namespace

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

}  // namespace quintrel
