#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

// A failure that carries the description shown to the user, unchanged.
// Every operation of the program reports problems by throwing one of these;
// the guarded window operations and the command boundary catch and show them.
class Failure : public std::exception
{
public:
    explicit Failure(QString description);

    const QString& Description() const { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The runtime failures the records and text helpers raise.
    static Failure DuplicateKey();
    static Failure MissingObject();
    static Failure Overflow();
    static Failure InvalidArgument();

private:
    QString m_description;
    QByteArray m_utf8;
};

// The description of the exception that is being handled right now; only
// meaningful inside a catch block.
QString CurrentFailureDescription();
