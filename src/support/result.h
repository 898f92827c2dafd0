// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <utility>

namespace folioneer {

/// The outcome of an operation that reports failures to the windows: success, or a failure with
/// the reason (the system's or a rule's words, e.g. "No space left on device") and, where the
/// operation has one, the sentence the user is shown before it ("The book could not be
/// exported."). Core code returns it; windows decide how to show it.
class [[nodiscard]] Result {
public:
    /// Success.
    Result() = default;

    static Result failure(QString reason, QString message = {})
    {
        Result result;
        result.m_failed = true;
        result.m_reason = std::move(reason);
        result.m_message = std::move(message);
        return result;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    const QString& reason() const { return m_reason; }
    const QString& message() const { return m_message; }

    /// The message and the reason as one text, each on its own line (either may be empty).
    QString text() const
    {
        if (m_message.isEmpty()) {
            return m_reason;
        }
        return m_reason.isEmpty() ? m_message : m_message + QLatin1Char('\n') + m_reason;
    }

private:
    bool m_failed = false;
    QString m_reason;
    QString m_message;
};

} // namespace folioneer
