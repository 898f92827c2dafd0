// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace folioneer {

// A non-visual text value with a change signal, for texts the windows keep but never show
// (the prompt-template holder). Like a text control, it signals a change synchronously when its
// text is set to a different value, and stays silent when the new text equals the old one.
class TextHolder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const QString& text() const { return m_text; }
    void setText(const QString& text);

signals:
    void textChanged();

private:
    QString m_text;
};

} // namespace folioneer
