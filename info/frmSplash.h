#pragma once

#include <QWidget>

class QLabel;

// Shown while the main window is created and loaded; it takes no input and
// disappears only when start-up closes it.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lblVersion = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    bool m_releasing = false;

    friend void CloseSplash(frmSplash* splash);
};

// Closes and releases the splash window; the only way it goes away.
void CloseSplash(frmSplash* splash);
