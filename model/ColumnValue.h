#pragma once

#include <QString>
#include <QtGlobal>

#include <variant>

// A column's value: text, or the record number (a signed 32-bit integer)
// that the column "Node" holds. A default value is the empty text.
class ColumnValue
{
public:
    ColumnValue() = default;
    ColumnValue(QString text) : m_value(std::move(text)) {}
    ColumnValue(const char*) = delete; // say QStringLiteral, not a byte string
    ColumnValue(qint32 number) : m_value(number) {}

    bool IsNumber() const { return std::holds_alternative<qint32>(m_value); }
    QString Text() const;

    friend bool operator==(const ColumnValue&, const ColumnValue&) = default;

private:
    std::variant<QString, qint32> m_value;
};
