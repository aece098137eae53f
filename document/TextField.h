#pragma once

#include <QLineEdit>

#include <optional>

// A single-line detail field: read-only, since nothing typed into it would
// ever reach a record, and drawn on the window's colour as read-only fields
// are on Windows; its text can still be selected and copied.
//
// It keeps its selection while the keyboard is in the menu bar (Alt, or a
// menu's access key), as text fields do on Windows. A plain line edit drops
// it the moment the menu bar takes the focus, and Kopieren chosen from the
// menu by keyboard would then act on nothing.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextField(QWidget* parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LookReadOnly();

    struct Selection
    {
        int anchor;
        int cursor;
    };
    std::optional<Selection> m_keptForMenuBar;
};
