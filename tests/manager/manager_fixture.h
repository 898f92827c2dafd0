// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/recording_message_boxes.h"
#include "common/test_support.h"
#include "manager/frm_new.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace folioneer::test {

// A project manager over a temporary program folder, with recorded message boxes. The load
// callback records the folder and adds a marker message, so tests see it in message order.
struct ManagerFixture {
    TempProgramFolder program;
    RecordingMessageBoxes boxes;
    QStringList loaded;
    std::unique_ptr<frmNew> window;

    frmNew& open()
    {
        window = std::make_unique<frmNew>(program.path(), boxes, [this](const QString& folder) {
            loaded.append(folder);
            boxes.shown.append(Message{QStringLiteral("LoadProject"), folder});
        });
        window->show();
        QTEST_ASSERT(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    template <typename T> T* control(const char* name) const
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        QTEST_ASSERT(widget != nullptr);
        return widget;
    }

    QString projects() const { return program.path() + QStringLiteral("/projects"); }
    QString file(const QString& relative) const { return program.path() + QLatin1Char('/') + relative; }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QTEST_ASSERT(writeFile(file(relative), bytes));
    }
    void makeFolder(const QString& relative) const { QTEST_ASSERT(QDir().mkpath(file(relative))); }

    QStringList texts() const
    {
        QStringList result;
        for (const Message& message : boxes.shown) {
            result.append(message.text);
        }
        return result;
    }
};

} // namespace folioneer::test
