#include "WindowLayout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

void AddSystemFontRows()
{
    QTest::addColumn<qreal>("pointSize");
    for (qreal size : {7.0, 9.0, 14.0})
        QTest::addRow("%g pt", size) << size;
}

ApplicationFont::ApplicationFont(qreal pointSize)
    : m_saved(QApplication::font())
{
    QFont font = m_saved;
    font.setPointSizeF(pointSize);
    QApplication::setFont(font);
}

ApplicationFont::~ApplicationFont()
{
    QApplication::setFont(m_saved);
}

DesignScale::DesignScale(const QWidget* window, QSize windowTwips)
    : m_window(window)
    , m_windowTwips(windowTwips)
{
}

bool DesignScale::KeepsProportions() const
{
    const double expectedHeight = m_window->width() * double(m_windowTwips.height()) / m_windowTwips.width();
    return qAbs(m_window->height() - expectedHeight) <= 1.0;
}

QRect DesignScale::Rect(int left, int top, int width, int height) const
{
    const double perTwip = m_window->width() / double(m_windowTwips.width());
    return QRect(qRound(left * perTwip), qRound(top * perTwip), qRound(width * perTwip), qRound(height * perTwip));
}

bool NearlyEqual(const QRect& actual, const QRect& expected)
{
    return qAbs(actual.left() - expected.left()) <= 1 && qAbs(actual.top() - expected.top()) <= 1
           && qAbs(actual.width() - expected.width()) <= 1 && qAbs(actual.height() - expected.height()) <= 1;
}

QStringList CutOffTexts(const QWidget* window)
{
    QStringList cutOff;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QSize needed = label->sizeHint();
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : needed.width() <= label->width() && needed.height() <= label->height();
        if (!fits)
            cutOff.append(label->objectName());
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        const QFontMetrics metrics = button->fontMetrics();
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        if (metrics.horizontalAdvance(caption) + 2 * metrics.averageCharWidth() > button->width())
            cutOff.append(button->objectName());
    }
    return cutOff;
}
