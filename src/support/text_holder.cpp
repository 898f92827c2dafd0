// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/text_holder.h"

namespace folioneer {

void TextHolder::setText(const QString& text)
{
    if (text == m_text) {
        return;
    }
    m_text = text;
    emit textChanged();
}

} // namespace folioneer
