// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "manager/frm_new_design.h"
#include "widgets/layout_units.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace folioneer::e2e {

namespace {

// The children die with the test process, even when it is killed by a timeout: no Xvfb, program
// or clipboard server outlives a test.
void dieWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// Copies a program folder without its projects: a test starts from an empty projects/ even when
// someone ran the built program and made projects there.
bool copyProgramFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to)) {
        return false;
    }
    const QString projects = from + QStringLiteral("/projects/");
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        if (source.startsWith(projects)) {
            continue;
        }
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) {
                return false;
            }
        } else if (!QFile::copy(source, target)) { // keeps the permissions: the executable stays one
            return false;
        }
    }
    return true;
}

// "Absolute upper-left X:  295" -> 295
std::optional<int> xwininfoField(const QByteArray& output, const QByteArray& field)
{
    for (const QByteArray& line : output.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith(field + ':')) {
            bool ok = false;
            const int value = trimmed.mid(field.size() + 1).trimmed().toInt(&ok);
            if (ok) {
                return value;
            }
        }
    }
    return std::nullopt;
}

} // namespace

void endProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (condition()) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(static_cast<unsigned long>(pollMs));
    }
}

Session::Session(const QString& programDir)
{
    const QString source = programDir.isEmpty() ? qEnvironmentVariable("FOLIONEER_PROGRAM_DIR") : programDir;
    if (!m_dir.isValid()) {
        fail(QStringLiteral("cannot create a temporary folder"));
        return;
    }
    if (source.isEmpty() || !QFileInfo(source + QStringLiteral("/folioneer")).isExecutable()) {
        fail(QStringLiteral("no built program in \"%1\" (FOLIONEER_PROGRAM_DIR)").arg(source));
        return;
    }
    m_programFolder = m_dir.path() + QStringLiteral("/program");
    if (!copyProgramFolder(source, m_programFolder)) {
        fail(QStringLiteral("cannot copy the program folder \"%1\"").arg(source));
        return;
    }
    QDir().mkpath(m_programFolder + QStringLiteral("/projects"));
    // Qt wants a private runtime folder; an unset one only produces warnings, but keep it quiet.
    QDir().mkpath(m_dir.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_valid = true;
}

Session::~Session()
{
    reportIfFailed();
    stop();
}

void Session::reportIfFailed()
{
    if (QTest::currentTestFailed() && !m_display.isEmpty()) {
        QStringList shown;
        for (const Window& window : visibleWindows()) {
            shown.append(QStringLiteral("\"%1\"").arg(window.title));
        }
        qWarning().noquote() << "windows shown:" << shown.join(QStringLiteral(", "));
        qWarning().noquote() << "program output:" << QString::fromUtf8(programOutput().right(4000));
        const QString folder = qEnvironmentVariable("FOLIONEER_E2E_SCREENSHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder)) {
            const QString name = QStringLiteral("%1-%2.png")
                                     .arg(QString::fromLatin1(QTest::currentTestFunction()),
                                          QString::fromLatin1(QTest::currentDataTag()));
            screenshot(folder + QLatin1Char('/') + name);
        }
    }
}

bool Session::fail(const QString& message)
{
    m_lastError = message;
    return false;
}

QString Session::makeProject(const QString& name, const QByteArray& toc, const QByteArray& mainTopic)
{
    const QString relative = QStringLiteral("projects/") + name;
    writeProgramFile(relative + QStringLiteral("/--toc.txt"), toc);
    writeProgramFile(relative + QStringLiteral("/--maintopic.txt"), mainTopic);
    return m_programFolder + QLatin1Char('/') + relative;
}

bool Session::makeSampleBook(const QByteArray& soil, const QByteArray& water)
{
    return writeProgramFile(sampleBook::kTocFile, sampleBook::kToc) &&
           writeProgramFile(QStringLiteral("projects/%1/--maintopic.txt").arg(sampleBook::kName),
                            sampleBook::kMainTopic) &&
           (soil.isEmpty() || writeProgramFile(sampleBook::kSoilFile, soil)) &&
           (water.isEmpty() || writeProgramFile(sampleBook::kWaterFile, water));
}

bool Session::writeProgramFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString path = m_programFolder + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        return fail(QStringLiteral("cannot write \"%1\"").arg(path));
    }
    return true;
}

std::optional<QByteArray> Session::readProgramFile(const QString& relativePath) const
{
    QFile file(m_programFolder + QLatin1Char('/') + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

bool Session::waitForProgramFile(const QString& relativePath,
                                 const std::function<bool(const std::optional<QByteArray>&)>& condition,
                                 int timeoutMs)
{
    if (!waitUntil([&] { return condition(readProgramFile(relativePath)); }, timeoutMs)) {
        return fail(QStringLiteral("\"%1\" did not reach the expected state within %2 ms")
                        .arg(relativePath)
                        .arg(timeoutMs));
    }
    return true;
}

std::unique_ptr<QProcess> Session::startOwnedProcess(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessEnvironment(displayEnvironment());
    process->setChildProcessModifier(dieWithParent);
    return process;
}

QProcessEnvironment Session::displayEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The tests themselves run on the offscreen platform; the program must use the X server.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!m_display.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), m_display);
    }
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path() + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    return environment;
}

bool Session::startDisplay()
{
    if (!m_display.isEmpty()) {
        return true;
    }
    if (!m_valid) {
        return false;
    }
    // -displayfd 1: Xvfb picks a free display number and writes it to stdout once it accepts clients.
    m_xvfb = startOwnedProcess(
        QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
         QStringLiteral("%1x%2x24").arg(kScreenSize.width()).arg(kScreenSize.height()),
         QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    m_xvfb->setStandardErrorFile(m_dir.path() + QStringLiteral("/xvfb.log"));
    m_xvfb->start();
    if (!m_xvfb->waitForStarted(kStartTimeoutMs)) {
        return fail(QStringLiteral("cannot start Xvfb (is it installed? run scripts/install-deps.sh)"));
    }
    QByteArray announced;
    QDeadlineTimer deadline(kStartTimeoutMs);
    while (!announced.contains('\n') && !deadline.hasExpired() && m_xvfb->state() == QProcess::Running) {
        m_xvfb->waitForReadyRead(100);
        announced += m_xvfb->readAllStandardOutput();
    }
    const QByteArray number = announced.trimmed();
    if (!announced.contains('\n') || number.isEmpty()) {
        endProcess(*m_xvfb);
        return fail(QStringLiteral("Xvfb did not announce its display"));
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    return true;
}

bool Session::startProgram()
{
    return startProgram(m_programFolder + QStringLiteral("/folioneer"), {});
}

bool Session::startProgram(const QString& executable, const QProcessEnvironment& environment)
{
    if (!startDisplay()) {
        return false;
    }
    if (m_program && m_program->state() != QProcess::NotRunning) {
        return fail(QStringLiteral("the program already runs"));
    }
    m_program = startOwnedProcess(executable, {});
    if (!environment.isEmpty()) {
        QProcessEnvironment merged = m_program->processEnvironment();
        merged.insert(environment);
        m_program->setProcessEnvironment(merged);
    }
    m_program->setWorkingDirectory(m_programFolder);
    m_program->setStandardOutputFile(m_dir.path() + QStringLiteral("/program.log"), QIODevice::Append);
    m_program->setStandardErrorFile(m_dir.path() + QStringLiteral("/program.log"), QIODevice::Append);
    m_program->start();
    if (!m_program->waitForStarted(kStartTimeoutMs)) {
        return fail(QStringLiteral("cannot start the program: %1").arg(m_program->errorString()));
    }
    return true;
}

std::optional<Window> Session::startAndOpenFirstProject()
{
    namespace manager = folioneer::managerDesign;
    std::optional<WindowId> window;
    std::optional<Window> main;
    if (startProgram() && (window = waitForWindow(kManagerTitle)) && key(*window, {QStringLiteral("Down")}) &&
        clickTwips(*window, manager::cmdLoadProject, manager::kOpenPanelLoaded) &&
        waitForWindowGone(*window)) {
        main = waitForWindowMatching(kMainTitle);
    }
    if (!main) {
        fail(m_lastError + QLatin1Char('\n') + QString::fromUtf8(programOutput()));
    }
    return main;
}

bool Session::programRunning() const
{
    return m_program && m_program->state() == QProcess::Running;
}

std::optional<int> Session::waitForProgramExit(int timeoutMs)
{
    if (!m_program) {
        return std::nullopt;
    }
    if (m_program->state() != QProcess::NotRunning && !m_program->waitForFinished(timeoutMs)) {
        fail(QStringLiteral("the program did not end within %1 ms").arg(timeoutMs));
        return std::nullopt;
    }
    return m_program->exitStatus() == QProcess::NormalExit ? m_program->exitCode() : -1;
}

QByteArray Session::programOutput() const
{
    QFile log(m_dir.path() + QStringLiteral("/program.log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

void Session::stopClipboardServers()
{
    for (auto& server : m_clipboardServers) {
        endProcess(*server);
    }
    m_clipboardServers.clear();
}

void Session::stopProgram()
{
    if (m_program) {
        endProcess(*m_program);
    }
}

void Session::stop()
{
    stopClipboardServers();
    stopProgram();
    if (m_xvfb) {
        endProcess(*m_xvfb);
    }
    m_display.clear();
}

QList<qint64> Session::processIds() const
{
    QList<qint64> ids;
    auto add = [&ids](const QProcess* process) {
        if (process && process->state() != QProcess::NotRunning) {
            ids.append(process->processId());
        }
    };
    add(m_xvfb.get());
    add(m_program.get());
    for (const auto& server : m_clipboardServers) {
        add(server.get());
    }
    return ids;
}

CommandResult Session::run(const QString& program, const QStringList& arguments, const QByteArray& input,
                           int timeoutMs) const
{
    CommandResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(displayEnvironment());
    process.setChildProcessModifier(dieWithParent);
    process.start();
    if (!process.waitForStarted(timeoutMs)) {
        result.err = process.errorString().toUtf8();
        return result;
    }
    if (!input.isEmpty()) {
        process.write(input);
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        result.err = "timed out";
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QList<Window> Session::visibleWindows()
{
    QList<Window> windows;
    if (m_display.isEmpty()) {
        return windows;
    }
    // xdotool's name search is a case-insensitive regular expression; list every viewable window
    // and compare the titles here instead.
    const CommandResult found =
        run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), QStringLiteral("")});
    for (const QByteArray& line : found.out.split('\n')) {
        const QString id = QString::fromLatin1(line.trimmed());
        if (id.isEmpty()) {
            continue;
        }
        const CommandResult name = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
        if (name.ok()) {
            QByteArray title = name.out;
            if (title.endsWith('\n')) {
                title.chop(1);
            }
            // Untitled helper windows (Qt and X input methods map some) are not the program's.
            if (!title.isEmpty()) {
                windows.append({id, QString::fromUtf8(title)});
            }
        }
    }
    return windows;
}

std::optional<WindowId> Session::waitForWindow(const QString& title, int timeoutMs)
{
    std::optional<WindowId> found;
    waitUntil(
        [&] {
            for (const Window& window : visibleWindows()) {
                if (window.title == title) {
                    found = window.id;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 100);
    if (!found) {
        fail(QStringLiteral("no window titled \"%1\" appeared within %2 ms").arg(title).arg(timeoutMs));
    }
    return found;
}

std::optional<Window> Session::waitForWindowMatching(const QRegularExpression& pattern, int timeoutMs)
{
    const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern.pattern()),
                                   pattern.patternOptions());
    std::optional<Window> found;
    waitUntil(
        [&] {
            for (const Window& window : visibleWindows()) {
                if (whole.match(window.title).hasMatch()) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 100);
    if (!found) {
        fail(QStringLiteral("no window titled like /%1/ appeared within %2 ms")
                 .arg(pattern.pattern())
                 .arg(timeoutMs));
    }
    return found;
}

bool Session::isViewable(const WindowId& window)
{
    const CommandResult info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    return info.ok() && info.out.contains("Map State: IsViewable");
}

bool Session::waitForWindowGone(const WindowId& window, int timeoutMs)
{
    if (!waitUntil([&] { return !isViewable(window); }, timeoutMs, 100)) {
        return fail(QStringLiteral("window %1 is still shown after %2 ms").arg(window).arg(timeoutMs));
    }
    return true;
}

std::optional<QRect> Session::clientGeometry(const WindowId& window)
{
    const CommandResult info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    const auto x = xwininfoField(info.out, "Absolute upper-left X");
    const auto y = xwininfoField(info.out, "Absolute upper-left Y");
    const auto width = xwininfoField(info.out, "Width");
    const auto height = xwininfoField(info.out, "Height");
    if (!info.ok() || !x || !y || !width || !height) {
        fail(QStringLiteral("cannot read the geometry of window %1").arg(window));
        return std::nullopt;
    }
    return QRect(*x, *y, *width, *height);
}

std::optional<WindowId> Session::focusedWindow()
{
    const CommandResult focused = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
    if (!focused.ok()) {
        return std::nullopt;
    }
    return QString::fromLatin1(focused.out.trimmed());
}

bool Session::focus(const WindowId& window)
{
    if (!run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window})
             .ok()) {
        return fail(QStringLiteral("cannot focus window %1").arg(window));
    }
    return true;
}

bool Session::requestClose(const WindowId& window)
{
    bool ok = false;
    const quint32 id = window.toUInt(&ok);
    if (!ok || m_display.isEmpty()) {
        return fail(QStringLiteral("cannot close window \"%1\"").arg(window));
    }
    xcb_connection_t* connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    };
    const bool connected = !xcb_connection_has_error(connection);
    if (connected) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = id;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, id, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        // A round trip: the server has handled the message before this connection goes away.
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    xcb_disconnect(connection);
    if (!connected) {
        return fail(QStringLiteral("cannot connect to %1").arg(m_display));
    }
    return true;
}

bool Session::key(const WindowId& window, const QStringList& keys)
{
    if (!focus(window)) {
        return false;
    }
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                          QStringLiteral("--delay"), QStringLiteral("40")};
    arguments += keys;
    if (!run(QStringLiteral("xdotool"), arguments).ok()) {
        return fail(QStringLiteral("cannot press %1").arg(keys.join(QLatin1Char(' '))));
    }
    return true;
}

bool Session::type(const WindowId& window, const QString& text)
{
    if (!focus(window)) {
        return false;
    }
    if (!run(QStringLiteral("xdotool"),
             {QStringLiteral("type"), QStringLiteral("--clearmodifiers"), QStringLiteral("--delay"),
              QStringLiteral("30"), QStringLiteral("--"), text},
             {}, kCommandTimeoutMs + 50 * static_cast<int>(text.size()))
             .ok()) {
        return fail(QStringLiteral("cannot type \"%1\"").arg(text));
    }
    return true;
}

bool Session::click(const WindowId& window, QPoint clientPoint, int button)
{
    const auto geometry = clientGeometry(window);
    if (!geometry) {
        return false;
    }
    const QPoint at = geometry->topLeft() + clientPoint;
    if (!run(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
              QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"),
              QString::number(button)})
             .ok()) {
        return fail(QStringLiteral("cannot click at %1,%2").arg(at.x()).arg(at.y()));
    }
    return true;
}

bool Session::clickTwips(const WindowId& window, int left, int top, int width, int height,
                         QPoint containerTwips)
{
    const QRect control(twipsToPixels(containerTwips.x() + left), twipsToPixels(containerTwips.y() + top),
                        twipsToPixels(width), twipsToPixels(height));
    return click(window, control.center());
}

bool Session::clickTwips(const WindowId& window, const folioneer::TwipsRect& control,
                         folioneer::TwipsPoint container)
{
    return clickTwips(window, control.left, control.top, control.width, control.height,
                      QPoint(container.x, container.y));
}

std::optional<QByteArray> Session::pasteAndSave(const WindowId& mainWindow, const QString& contentFile)
{
    namespace design = folioneer::mainWindowDesign;
    std::optional<QByteArray> saved;
    if (clickTwips(mainWindow, design::lblPaste) && clickTwips(mainWindow, design::cmdSaveChanges)) {
        waitForProgramFile(contentFile, [&](const std::optional<QByteArray>& bytes) {
            saved = bytes;
            return bytes.has_value();
        });
    }
    return saved;
}

bool Session::answerWithText(const QString& title, const QString& text, int timeoutMs)
{
    const auto dialog = waitForWindow(title, timeoutMs);
    if (!dialog) {
        return fail(m_lastError + QLatin1Char('\n') + QString::fromUtf8(programOutput()));
    }
    return key(*dialog, {QStringLiteral("ctrl+a")}) && type(*dialog, text) &&
           key(*dialog, {QStringLiteral("Return")});
}

bool Session::answerMessageBox(const QString& title, const QString& keyName, int timeoutMs)
{
    const auto box = waitForWindow(title, timeoutMs);
    if (!box) {
        return false;
    }
    return key(*box, {keyName}) && waitForWindowGone(*box, timeoutMs);
}

std::optional<QByteArray> Session::clipboard(const QString& target)
{
    const CommandResult result =
        run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                      QStringLiteral("-o"), QStringLiteral("-t"), target});
    if (!result.ok()) {
        // Status 1: nobody owns the clipboard, or its owner does not offer `target`.
        return std::nullopt;
    }
    return result.out;
}

std::optional<QByteArray> Session::waitForClipboardChange(const std::optional<QByteArray>& before,
                                                          const QString& target, int timeoutMs)
{
    std::optional<QByteArray> now = before;
    waitUntil(
        [&] {
            now = clipboard(target);
            return now != before;
        },
        timeoutMs, 100);
    return now;
}

bool Session::setClipboard(const QByteArray& bytes, const QString& target)
{
    if (!startDisplay()) {
        return false;
    }
    stopClipboardServers();
    // -quiet keeps xclip in the foreground, so it stays our child and ends with the session
    // (without it xclip forks a server nobody would end).
    auto server =
        startOwnedProcess(QStringLiteral("xclip"),
                          {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"),
                           QStringLiteral("-quiet"), QStringLiteral("-t"), target});
    server->setStandardOutputFile(QProcess::nullDevice());
    server->setStandardErrorFile(QProcess::nullDevice());
    server->start();
    if (!server->waitForStarted(kCommandTimeoutMs)) {
        return fail(QStringLiteral("cannot start xclip"));
    }
    // Nothing runs an event loop here: push the bytes out before closing xclip's input.
    server->write(bytes);
    while (server->bytesToWrite() > 0 && server->waitForBytesWritten(kCommandTimeoutMs)) {
    }
    server->closeWriteChannel();
    m_clipboardServers.push_back(std::move(server));
    if (!waitUntil([&] { return clipboard(target) == bytes; }, kCommandTimeoutMs)) {
        return fail(QStringLiteral("the clipboard did not take the bytes"));
    }
    return true;
}

std::optional<QImage> Session::grab(const WindowId& window)
{
    const QString path = m_dir.filePath(QStringLiteral("grab.png"));
    if (!screenshot(path, window)) {
        return std::nullopt;
    }
    QImage image(path);
    if (image.isNull()) {
        fail(QStringLiteral("cannot read the picture of window %1").arg(window));
        return std::nullopt;
    }
    return image;
}

bool Session::waitForRegionChange(const WindowId& window, const QRect& region, const QImage& before,
                                  int timeoutMs)
{
    const QImage old = before.copy(region);
    QImage last;
    const bool changed = waitUntil(
        [&] {
            const auto now = grab(window);
            if (!now) {
                return false;
            }
            const QImage part = now->copy(region);
            const bool settled = part != old && part == last;
            last = part;
            return settled;
        },
        timeoutMs, 100);
    return changed || fail(QStringLiteral("the window did not change where expected"));
}

bool Session::screenshot(const QString& path, const WindowId& window)
{
    const QString source = window.isEmpty() ? QStringLiteral("root") : window;
    if (!run(QStringLiteral("import"), {QStringLiteral("-window"), source, path}).ok()) {
        return fail(QStringLiteral("cannot write the screenshot \"%1\"").arg(path));
    }
    return true;
}

} // namespace folioneer::e2e
