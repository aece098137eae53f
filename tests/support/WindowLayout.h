#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

class QWidget;

// Data rows of a column "pointSize": a small, the usual and a large system font.
void AddSystemFontRows();

// Sets the application's font for the lifetime of the object.
class ApplicationFont
{
public:
    explicit ApplicationFont(qreal pointSize);
    ~ApplicationFont();
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont m_saved;
};

// A window drawn from a twip design that grows as a whole: its size keeps the
// design's proportions, and each control stands where the design puts it at
// the window's own scale, give or take a pixel of rounding.
class DesignScale
{
public:
    DesignScale(const QWidget* window, QSize windowTwips);
    bool KeepsProportions() const;
    QRect Rect(int left, int top, int width, int height) const;

private:
    const QWidget* m_window;
    QSize m_windowTwips;
};

bool NearlyEqual(const QRect& actual, const QRect& expected);

// The labels and buttons in window whose text is cut off: a label's text,
// wrapped where the label wraps, must lie within it; a button's caption must
// leave an average character free on either side.
QStringList CutOffTexts(const QWidget* window);
