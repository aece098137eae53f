#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;

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

QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}
