#include "document/TextField.h"

#include <QFocusEvent>

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
