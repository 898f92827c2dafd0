// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/message_boxes.h"

#include <QList>

namespace folioneer::test {

// A message-box seam for widget tests: records every message and answers from a queue
// (Ok, Yes for a Yes/No question, Save for a Save/Discard/Cancel question, when the queue is empty).
class RecordingMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget*, const Message& message) override
    {
        shown.append(message);
        if (!answers.isEmpty()) {
            return answers.takeFirst();
        }
        switch (message.buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::Yes;
        case MessageButtons::SaveDiscardCancel:
            return MessageAnswer::Save;
        case MessageButtons::Ok:
            break;
        }
        return MessageAnswer::Ok;
    }

    QList<Message> shown;
    QList<MessageAnswer> answers;
};

} // namespace folioneer::test
