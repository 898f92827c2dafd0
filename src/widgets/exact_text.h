// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QStringView>
#include <QTextOption>

namespace folioneer {

// Labels and text boxes that keep the exact string the program set (CR, CR LF, NBSP and all)
// and hand it back unchanged, while drawing no glyph and no extra line for a CR. The label signals
// a change synchronously when the program sets a different caption, and stays silent otherwise.

/// What a box or label draws for an exact text: CR LF and lone LF as a line break, lone CR
/// as nothing. `singleLine` also drops line breaks at the end (a label shows one line).
QString displayTextFor(const QString& exactText, bool singleLine);

/// How a box wraps `text`: at word boundaries, unless the text holds a run without a blank so
/// long that Qt's search for a word boundary in it would take seconds (its cost grows with the
/// square of the run); then anywhere.
QTextOption::WrapMode wrapModeFor(QStringView text);

class ExactLabel : public QLabel {
    Q_OBJECT
public:
    explicit ExactLabel(QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);

signals:
    void captionChanged();

private:
    QString m_caption;
};

class ExactTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ExactTextEdit(QWidget* parent = nullptr);

    /// The exact text the program set, or, after the user edited the box, its content with
    /// every paragraph break as CR LF.
    QString text() const;
    void setText(const QString& text);

private:
    void onContentsChanged();

    QString m_exact;
    bool m_userEdited = false;
    bool m_settingText = false;
};

} // namespace folioneer
