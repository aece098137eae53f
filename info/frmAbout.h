#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's information window: name, version and purpose, and a button
// that starts the system-information program. Shown modally by its owner.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner);

    void StartSysInfo();

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

private:
    void Form_Load();
};
