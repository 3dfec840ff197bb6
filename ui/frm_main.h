// The calculator's main window: its controls, menus and status bar, and the wiring of their events
// to the grid handlers. The window converts widget state, calls the handlers and shows failures;
// all arithmetic lives in the core.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

#include "core/grid_handlers.h"
#include "core/grid_state.h"
#include "core/grid_window.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace quintrel {

class FileCommands;
class GridWindowAdapter;
class PictureBox;
class QtFileDialog;
class QtMessageReporter;
class StatusBar;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // folder: where the formula pictures are read from, the application's Folder in the program.
    explicit frmMain(const QString& folder, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window as the calculator's handlers see it.
    GridWindow& gridWindow();

    // The window's default font, which every control uses. The twips layout leaves room for an
    // 8-point sans serif with Arial's metrics; a wider desktop font would clip the longer captions.
    static QFont designFont();

    GridState& gridState() { return m_state; }
    // The path of the formula picture last asked for, whether or not it could be shown.
    QString picturePath() const { return m_picturePath; }

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Command1_Click();
    void Command2_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Option1_Click(int Index);
    void Check1_Click();
    void Check2_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab follow m_tabOrder. Qt's own chain passes over the unselected member of an
    // exclusive pair of option buttons; here every control of the list is a stop.
    bool focusNextPrevChild(bool next) override;

  private:
    void createActions();
    void createMenus();
    void createWidgets();
    void createConnections();

    // Shows formula picture path in Picture1; an unreadable one is reported once the current step
    // is over.
    bool showFormulaPicture(const QString& path);
    void onCheckStateChanged(QCheckBox* box);

    // Shows a failed handler's reason in a message box; the program carries on.
    void report(GridResult result);
    void reportUnreadablePicture();

    friend class GridWindowAdapter;  // reads and writes the controls below

    GridState m_state;
    std::unique_ptr<GridWindowAdapter> m_adapter;
    GridHandlers m_handlers;
    std::unique_ptr<QtFileDialog> m_fileDialog;
    std::unique_ptr<QtMessageReporter> m_reporter;
    std::unique_ptr<FileCommands> m_fileCommands;

    std::array<QWidget*, 12> m_tabOrder{};
    QString m_picturePath;
    QString m_unreadablePicture;  // a picture that failed to load and is not yet reported
    bool m_pictureReportQueued = false;

    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileBar0 = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearchForHelpOn = nullptr;
    QAction* mnuHelpBar0 = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuHelp = nullptr;

    QGroupBox* FrameTD = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    PictureBox* Picture1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    StatusBar* sbStatusBar = nullptr;
};

}  // namespace quintrel
