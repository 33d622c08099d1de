#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
struct DesignedBox;

// The version-information dialog opened by the main window's VER command, which passes itself
// as the owner.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The dialog's designed box on the screen and its controls', from the design table.
    static QList<DesignedBox> designedBoxes();

    // What the system-information button runs; true when the program was started. The
    // platform's lookup unless replaced.
    void setSysInfoStarter(std::function<bool()> starter);

    void setVisible(bool visible) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    std::function<bool()> m_startSysInfo;
};
