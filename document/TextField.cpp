#include "document/TextField.h"

#include <QApplication>
#include <QFocusEvent>

TextField::TextField(QWidget* parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    LookReadOnly();
}

void TextField::LookReadOnly()
{
    QPalette look = QApplication::palette(this);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        look.setBrush(group, QPalette::Base, look.brush(group, QPalette::Window));
    setPalette(look);
}

void TextField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // The colours follow the style's and the desktop's when they change.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::ApplicationPaletteChange)
        LookReadOnly();
}

void TextField::focusOutEvent(QFocusEvent* event)
{
    m_keptForMenuBar.reset();
    if (event->reason() == Qt::MenuBarFocusReason && hasSelectedText()) {
        const int cursor = cursorPosition();
        const int anchor = cursor == selectionStart() ? selectionEnd() : selectionStart();
        m_keptForMenuBar = Selection{anchor, cursor};
    }
    QLineEdit::focusOutEvent(event);
}

void TextField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // The menu bar gives the focus back before the chosen command runs.
    if (event->reason() == Qt::MenuBarFocusReason && m_keptForMenuBar)
        setSelection(m_keptForMenuBar->anchor, m_keptForMenuBar->cursor - m_keptForMenuBar->anchor);
    m_keptForMenuBar.reset();
}
