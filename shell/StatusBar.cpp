#include "shell/StatusBar.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

StatusBar::StatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sbStatusBar"));
    setSizeGripEnabled(true);

    auto* status = new QLabel(QStringLiteral("Status"), this);
    status->setFrameShape(QFrame::Panel);
    status->setFrameShadow(QFrame::Sunken);
    addPermanentWidget(status, 1);

    for (QLabel** panel : {&m_date, &m_time}) {
        *panel = new QLabel(this);
        (*panel)->setFrameShape(QFrame::Panel);
        (*panel)->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(*panel, 0);
    }
    Refresh();

    auto* clock = new QTimer(this);
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, &StatusBar::Refresh);
    clock->start();
}

void StatusBar::Refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    m_date->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_time->setText(locale.toString(now.time(), QLocale::ShortFormat));
}
