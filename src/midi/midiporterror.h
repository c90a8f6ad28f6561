#pragma once
// What the MIDI ports raise. The exceptions carry only a message, kept as a
// QString for the user and as UTF-8 for what().

#include <QByteArray>
#include <QString>
#include <exception>

class MidiPortError : public std::exception
{
public:
    explicit MidiPortError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The message for a device failure: the system's reason, or the fixed text
// used when the system gave none.
inline QString deviceFailureText(const QString &reason)
{
    return reason.isEmpty() ? QStringLiteral("Specified error number is out of range") : reason;
}
