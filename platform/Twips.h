#pragma once

#include <QRect>

class QWidget;

// Window and control measures are given in twips, 1440 to the inch, and
// become pixels through the screen's logical resolution.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);
QRect TwipsRect(int left, int top, int width, int height);
