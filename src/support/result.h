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

/// A value, or a failure saying why there is none (e.g. a file's bytes, or why they could not be
/// read). On failure the value is a default-constructed T.
template <class T> class [[nodiscard]] ResultOf {
public:
    ResultOf(T value) : m_value(std::move(value)) {}
    /// A failure; an ok `result` gives an ok, default-constructed value.
    ResultOf(Result result) : m_result(std::move(result)) {}

    static ResultOf failure(QString reason, QString message = {})
    {
        return ResultOf(Result::failure(std::move(reason), std::move(message)));
    }

    bool ok() const { return m_result.ok(); }
    explicit operator bool() const { return ok(); }

    const T& value() const { return m_value; }
    T& value() { return m_value; }

    /// The outcome without the value.
    const Result& result() const { return m_result; }
    const QString& reason() const { return m_result.reason(); }
    const QString& message() const { return m_result.message(); }
    QString text() const { return m_result.text(); }

private:
    T m_value{};
    Result m_result;
};

} // namespace folioneer
