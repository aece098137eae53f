#include "model/ColumnValue.h"

QString ColumnValue::Text() const
{
    if (const qint32* number = std::get_if<qint32>(&m_value))
        return QString::number(*number);
    return std::get<QString>(m_value);
}
