// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace folioneer {

// The seam every message box of the program goes through. Windows receive an implementation
// when they are created: the real one shows a modal QMessageBox, tests record and answer.

enum class MessageIcon { None, Information, Exclamation, Question };
enum class MessageButtons { Ok, YesNo, SaveDiscardCancel };
enum class MessageAnswer { Ok, Yes, No, Save, Discard, Cancel };

struct Message {
    QString text;
    QString title; ///< empty: the program title "FolioneerPro" is shown
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

/// The title a message box shows when the message gives none.
inline constexpr auto kProgramTitle = "FolioneerPro";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    /// Shows the message modally over `parent` and returns the button pressed.
    virtual MessageAnswer show(QWidget* parent, const Message& message) = 0;
};

/// Real message boxes: QMessageBox with the exact text, title, icon and buttons.
class QtMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
};

} // namespace folioneer
