#pragma once

#include <QString>
#include <exception>

// A failure that reaches the user as the text of an error box. Handlers throw it;
// the application's event guard catches it and shows it.
class AppError : public std::exception
{
public:
    explicit AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
