#include "info/InfoPictures.h"

#include <QIcon>

QPixmap BannerPicture(const QSize& size)
{
    return QIcon(QStringLiteral(":/icons/banner.svg")).pixmap(size);
}

QPixmap LogoPicture(const QSize& size)
{
    return QIcon(QStringLiteral(":/icons/logo.svg")).pixmap(size);
}
