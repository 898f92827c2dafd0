// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextDocument>

namespace folioneer {

// A text document that shows only the pictures it already holds. Whatever names a picture,
// style sheet or other resource (a file: or http: address, a path), it is never loaded: the
// program reads no file and opens no connection because of a document's content. Pictures
// are drawn by a handler of its own, because Qt's would load a picture named by a path itself.
class SafeTextDocument : public QTextDocument {
    Q_OBJECT
public:
    explicit SafeTextDocument(QObject* parent = nullptr);

    /// Puts the picture handler on the document's layout, creating the layout. Call it once the
    /// document is filled and before it is shown: a layout present while a large document is
    /// built would follow every step of it.
    void protectLayout();

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

} // namespace folioneer
