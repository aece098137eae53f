#pragma once

#include <QPixmap>

// The stored pictures of the splash and About windows, drawn at the size of
// the control that shows them.
QPixmap BannerPicture(const QSize& size);
QPixmap LogoPicture(const QSize& size);
