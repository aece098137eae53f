#pragma once

#include <QLineEdit>

#include <optional>

// A single-line text field that keeps its selection while the keyboard is
// in the menu bar (Alt, or a menu's access key), as text fields do on
// Windows. A plain line edit drops it the moment the menu bar takes the
// focus, and the edit commands chosen from the menu by keyboard would then
// act on nothing.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    struct Selection
    {
        int anchor;
        int cursor;
    };
    std::optional<Selection> m_keptForMenuBar;
};
