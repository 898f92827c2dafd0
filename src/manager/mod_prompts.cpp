// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/mod_prompts.h"

#include "prompts/catalogue.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>

namespace folioneer {

bool LoadPromptList(const QString& path, QListWidget* target, const std::function<bool()>& stop,
                    QEventLoop::ProcessEventsFlags events)
{
    // The file is read whole before the fill starts: a file changed or deleted while events run
    // cannot tear a line in two.
    const QStringList entries = readCatalogueEntries(path);
    const QPointer<QListWidget> list(target);
    for (const QString& entry : entries) {
        QCoreApplication::processEvents(events);
        if (list.isNull() || (stop && stop())) {
            return false;
        }
        list->addItem(entry);
    }
    return true;
}

} // namespace folioneer
