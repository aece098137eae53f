#pragma once

#include <QFont>
#include <QRect>

// Window and control measures are given in twips, 1440 to the inch, and
// become pixels through the screen's logical resolution.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

// The twip layout of a window, drawn for the font the window shows its text
// in. The measures were made for an 8 pt dialog font; with any other font the
// whole layout grows or shrinks with the font's line height, and grows further
// where a caption needs more room than that, so that the window keeps its
// proportions and every caption fits.
class TwipLayout
{
public:
    explicit TwipLayout(const QFont& font);

    // Grows the layout until text in the font fits into a room roomTwips
    // wide with gaps of an average character's width beside it.
    void MakeRoom(const QString& text, double roomTwips, int gaps);

    int X(double twips) const;
    int Y(double twips) const;
    QRect Rect(int left, int top, int width, int height) const;
    QSize Size(int width, int height) const;
    // A font the design gives in points, grown with the layout.
    QFont Scaled(QFont font) const;

private:
    QFont m_font;
    double m_scale = 1.0;
};
