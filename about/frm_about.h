// The About box: the program's icon, title, version and description, an OK button and a System
// Info button. Shown modally over its owner; closing it unloads it.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "about/sys_info.h"

class QLabel;
class QPushButton;

namespace quintrel {

// The application properties the box shows.
struct AboutProperties {
    QString title;  // "Quintrel"
    int major = 0;
    int minor = 0;
    int revision = 0;
};

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    // registry and starter: System Info's services; the host's own when left empty.
    frmAbout(QWidget* owner, AboutProperties properties,
             std::unique_ptr<registry::Registry> registry = nullptr,
             std::unique_ptr<ProgramStarter> starter = nullptr);
    ~frmAbout() override;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void createWidgets();
    QLabel* makeLabel(const char* name, const QString& caption, int left, int top, int width,
                      int height);

    AboutProperties m_properties;
    std::unique_ptr<registry::Registry> m_registry;
    std::unique_ptr<ProgramStarter> m_starter;

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

}  // namespace quintrel
