#include "platform/MousePointer.h"

#include <QApplication>
#include <QCursor>

void SetMousePointer(MousePointer pointer)
{
    if (pointer == CurrentMousePointer())
        return;
    if (pointer == MousePointer::Hourglass)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

MousePointer CurrentMousePointer()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor ? MousePointer::Hourglass : MousePointer::Default;
}
