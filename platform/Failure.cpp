#include "platform/Failure.h"

#include <new>

Failure::Failure(QString description)
    : m_description(std::move(description)), m_utf8(m_description.toUtf8())
{
}

Failure Failure::DuplicateKey()
{
    return Failure(QStringLiteral("Dieser Schlüssel ist bereits einem Element dieser Auflistung zugeordnet."));
}

Failure Failure::MissingObject()
{
    return Failure(QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt."));
}

Failure Failure::Overflow()
{
    return Failure(QStringLiteral("Überlauf."));
}

Failure Failure::InvalidArgument()
{
    return Failure(QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument."));
}

QString CurrentFailureDescription()
{
    try {
        throw;
    } catch (const Failure& failure) {
        return failure.Description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Nicht genügend Speicher.");
    } catch (const std::exception& other) {
        return QString::fromLocal8Bit(other.what());
    } catch (...) {
        return QStringLiteral("Unbekannter Fehler.");
    }
}
