#pragma once

#include <QStatusBar>

class QLabel;

// The main window's status bar: "Status" over the free width, then the
// current date and time, which it keeps current itself.
class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);

    QLabel* DatePanel() const { return m_date; }
    QLabel* TimePanel() const { return m_time; }

private:
    void Refresh();

    QLabel* m_date = nullptr;
    QLabel* m_time = nullptr;
};
