#include "platform/Twips.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;

// A line of the 8 pt dialog font the windows were laid out for: 13 pixels
// at 96 dots per inch.
constexpr double DesignLineHeightTwips = 195.0;

double DpiX()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double DpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}

int TwipsToPixelsX(double twips)
{
    return int(std::lround(twips * DpiX() / TwipsPerInch));
}

int TwipsToPixelsY(double twips)
{
    return int(std::lround(twips * DpiY() / TwipsPerInch));
}

double PixelsToTwipsX(int pixels)
{
    return pixels * TwipsPerInch / DpiX();
}

double PixelsToTwipsY(int pixels)
{
    return pixels * TwipsPerInch / DpiY();
}

TwipLayout::TwipLayout(const QFont& font)
    : m_font(font)
    , m_scale(QFontMetricsF(font).height() / (DesignLineHeightTwips * DpiY() / TwipsPerInch))
{
}

void TwipLayout::MakeRoom(const QString& text, double roomTwips, int gaps)
{
    const QFontMetricsF metrics(m_font);
    const double needed = metrics.horizontalAdvance(text) + gaps * metrics.averageCharWidth();
    m_scale = std::max(m_scale, needed / (roomTwips * DpiX() / TwipsPerInch));
}

int TwipLayout::X(double twips) const
{
    return TwipsToPixelsX(twips * m_scale);
}

int TwipLayout::Y(double twips) const
{
    return TwipsToPixelsY(twips * m_scale);
}

QRect TwipLayout::Rect(int left, int top, int width, int height) const
{
    return QRect(X(left), Y(top), X(width), Y(height));
}

QSize TwipLayout::Size(int width, int height) const
{
    return QSize(X(width), Y(height));
}

QFont TwipLayout::Scaled(QFont font) const
{
    font.setPointSizeF(font.pointSizeF() * m_scale);
    return font;
}
