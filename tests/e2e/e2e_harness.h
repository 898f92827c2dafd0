// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/layout_units.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace folioneer::e2e {

/// The project manager's exact window title.
inline const QString kManagerTitle = QStringLiteral("Project Manager");
/// The main window's title: "Folioneer Pro " followed by the by-line, which begins with "by ".
inline const QRegularExpression kMainTitle(QStringLiteral("Folioneer Pro by \\S.*"));

/// The sample book most journeys start from, stored as the program stores a book (CR LF line
/// ends): projects/Garden, main topic "Gardening", one chapter "The Basics" with the sections
/// "Soil" and "Water". Session::makeSampleBook() writes it.
namespace sampleBook {
inline const QString kName = QStringLiteral("Garden");
inline const QByteArray kToc = "Chapter: The Basics\r\nSubchapter: Soil\r\nSubchapter: Water\r\n";
inline const QByteArray kMainTopic = "Gardening\r\n";
/// Paths relative to the program folder.
inline const QString kTocFile = QStringLiteral("projects/Garden/--toc.txt");
inline const QString kSoilFile = QStringLiteral("projects/Garden/the-basics---soil.txt");
inline const QString kWaterFile = QStringLiteral("projects/Garden/the-basics---water.txt");
} // namespace sampleBook

/// An X window id as xdotool prints it (decimal).
using WindowId = QString;

/// A visible top-level window: its id and its exact title.
struct Window {
    WindowId id;
    QString title;
};

/// What a helper tool (xdotool, xwininfo, xclip) did.
struct CommandResult {
    bool finished = false; ///< false when it could not start or ran past its timeout
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool ok() const { return finished && exitCode == 0; }
};

// Drives the real program for one end-to-end test: a private copy of the built program folder
// (so a test can prepare projects in it), a private Xvfb with no window manager, the program
// itself, and the X tools that find windows, type, click and use the clipboard.
// Everything it starts is ended when it is destroyed, and also when the test process dies.
// Every wait is bounded; a false or empty result means the timeout passed (see lastError()).
// When the current test has failed, destruction prints the program's output and the shown
// windows, and writes a screenshot into $FOLIONEER_E2E_SCREENSHOTS when that folder is set.
class Session {
public:
    static constexpr int kStartTimeoutMs = 20000;
    static constexpr int kWindowTimeoutMs = 15000;
    static constexpr int kCommandTimeoutMs = 10000;
    static constexpr QSize kScreenSize{1600, 1000};

    /// Copies `programDir` (default: FOLIONEER_PROGRAM_DIR) into a temporary program folder,
    /// leaving out its projects: the copy's projects/ starts empty.
    explicit Session(const QString& programDir = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// True when the program folder was copied; otherwise lastError() says why.
    bool isValid() const { return m_valid; }
    QString lastError() const { return m_lastError; }

    // --- The temporary program folder -----------------------------------------------------

    QString programFolder() const { return m_programFolder; }
    /// Creates projects/<name> holding the two project files with exactly these bytes.
    QString makeProject(const QString& name, const QByteArray& toc, const QByteArray& mainTopic);
    /// Creates the sample book (see sampleBook); non-empty `soil` and `water` become the content
    /// files of those sections. False when a file cannot be written (see lastError()).
    bool makeSampleBook(const QByteArray& soil = {}, const QByteArray& water = {});
    /// Writes bytes to a path relative to the program folder, creating its folders.
    bool writeProgramFile(const QString& relativePath, const QByteArray& bytes);
    /// The bytes of a file relative to the program folder; nullopt when it cannot be read.
    std::optional<QByteArray> readProgramFile(const QString& relativePath) const;
    /// Waits until the file's bytes (nullopt = missing) satisfy `condition`, e.g. after a save.
    bool waitForProgramFile(const QString& relativePath,
                            const std::function<bool(const std::optional<QByteArray>&)>& condition,
                            int timeoutMs = kWindowTimeoutMs);

    // --- Display and program ----------------------------------------------------------------

    /// Starts the private Xvfb (1600 x 1000, 24 bits). Done by startProgram() when needed.
    bool startDisplay();
    /// ":N" once the display runs.
    QString display() const { return m_display; }
    /// Starts the program from the temporary program folder on the private display.
    bool startProgram();
    /// Starts another copy of the program (an installed one, say) on the private display, from
    /// the temporary folder, with `environment` added to the usual variables.
    bool startProgram(const QString& executable, const QProcessEnvironment& environment);
    bool programRunning() const;
    /// Starts the program and opens the first project of the manager's list as a user does: Down
    /// selects it (the list has the focus), "Load Project" opens it. The main window, or nullopt
    /// with the reason and the program's output in lastError().
    std::optional<Window> startAndOpenFirstProject();
    /// Waits for the program to end by itself; its exit code, or nullopt on timeout.
    std::optional<int> waitForProgramExit(int timeoutMs = kWindowTimeoutMs);
    /// What the program wrote to stdout and stderr so far.
    QByteArray programOutput() const;
    /// Ends the program (the display keeps running, so the program can be started again).
    void stopProgram();
    /// Ends the program, the clipboard servers and Xvfb; safe to call twice.
    void stop();
    /// Process ids of everything this session started that may still run.
    QList<qint64> processIds() const;

    // --- Windows --------------------------------------------------------------------------

    /// The mapped (viewable) windows with a title.
    QList<Window> visibleWindows();
    /// Waits for a visible window whose title is exactly `title` (case-sensitive).
    std::optional<WindowId> waitForWindow(const QString& title, int timeoutMs = kWindowTimeoutMs);
    /// Waits for a visible window whose whole title matches `pattern`.
    std::optional<Window> waitForWindowMatching(const QRegularExpression& pattern,
                                                int timeoutMs = kWindowTimeoutMs);
    /// Waits until the window is no longer viewable (unmapped or destroyed).
    bool waitForWindowGone(const WindowId& window, int timeoutMs = kWindowTimeoutMs);
    bool isViewable(const WindowId& window);
    /// The client area in screen coordinates (there is no frame: no window manager runs).
    std::optional<QRect> clientGeometry(const WindowId& window);
    /// The window that has the keyboard focus.
    std::optional<WindowId> focusedWindow();

    // --- Input ----------------------------------------------------------------------------

    /// Gives the window the keyboard focus (XSetInputFocus: works without a window manager).
    bool focus(const WindowId& window);
    /// Asks the window to close as its close box would (a WM_DELETE_WINDOW message): with no
    /// window manager there is no close box to click.
    bool requestClose(const WindowId& window);
    /// Focuses the window, then presses keys given in xdotool's names ("Return", "ctrl+c", "Down").
    bool key(const WindowId& window, const QStringList& keys);
    /// Focuses the window, then types the text character by character.
    bool type(const WindowId& window, const QString& text);
    /// Clicks at a point of the window's client area, in device-independent pixels.
    bool click(const WindowId& window, QPoint clientPoint, int button = 1);
    /// Clicks the centre of a control laid out at (left, top, width, height) twips in the window's
    /// client area; `containerTwips` is the top-left of its frame, for controls inside one.
    bool clickTwips(const WindowId& window, int left, int top, int width, int height,
                    QPoint containerTwips = {});
    /// Clicks the centre of a control of a window's design table, inside `container` (the
    /// top-left of its frame, in the window's client area).
    bool clickTwips(const WindowId& window, const folioneer::TwipsRect& control,
                    folioneer::TwipsPoint container = {});

    /// Clicks "Paste", then "Save Changes" in the main window, and waits until the content file
    /// (relative to the program folder) exists; its bytes, or nullopt (see lastError()).
    std::optional<QByteArray> pasteAndSave(const WindowId& mainWindow, const QString& contentFile);

    /// Waits for the file dialog (or name question) titled `title`, replaces the text of its
    /// focused box with `text` and presses Return.
    bool answerWithText(const QString& title, const QString& text, int timeoutMs = kWindowTimeoutMs);

    // --- Message boxes ----------------------------------------------------------------------

    /// Waits for the message box titled `title`, presses `key` in it ("Return" = the default
    /// button, "Escape", "y", "n") and waits for it to close.
    bool answerMessageBox(const QString& title, const QString& key = QStringLiteral("Return"),
                          int timeoutMs = kWindowTimeoutMs);

    // --- Clipboard (the CLIPBOARD selection, through xclip) --------------------------------

    /// The clipboard's content in `target`; nullopt when the clipboard is empty or does not
    /// offer that target (xclip exits with status 1).
    std::optional<QByteArray> clipboard(const QString& target = QStringLiteral("UTF8_STRING"));
    /// Waits until the clipboard differs from `before` (nullopt = empty) and returns it.
    std::optional<QByteArray> waitForClipboardChange(const std::optional<QByteArray>& before,
                                                     const QString& target = QStringLiteral("UTF8_STRING"),
                                                     int timeoutMs = kWindowTimeoutMs);
    /// Puts bytes on the clipboard offered as `target` ("UTF8_STRING", "text/rtf", ...); an
    /// xclip process serves them until another client takes the clipboard or the session ends.
    bool setClipboard(const QByteArray& bytes, const QString& target = QStringLiteral("UTF8_STRING"));

    // --- Diagnostics ------------------------------------------------------------------------

    /// Writes a PNG of one window, or of the whole screen when `window` is empty.
    bool screenshot(const QString& path, const WindowId& window = {});
    /// The window's picture as it is on the display now.
    std::optional<QImage> grab(const WindowId& window);
    /// Waits until the part `region` (client pixels) of the window's picture differs from `before`
    /// and holds still across two looks: the visible effect of an input has arrived.
    bool waitForRegionChange(const WindowId& window, const QRect& region, const QImage& before,
                             int timeoutMs = kWindowTimeoutMs);
    /// When the current test function has failed: prints the program's output and the shown
    /// windows, and takes the screenshot. Done on destruction; a session shared by several test
    /// functions calls it from cleanup().
    void reportIfFailed();
    /// Runs an X tool on the private display.
    CommandResult run(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                      int timeoutMs = kCommandTimeoutMs) const;

private:
    std::unique_ptr<QProcess> startOwnedProcess(const QString& program, const QStringList& arguments);
    QProcessEnvironment displayEnvironment() const;
    bool fail(const QString& message);
    void stopClipboardServers();

    QTemporaryDir m_dir;
    QString m_programFolder;
    QString m_display;
    QString m_lastError;
    bool m_valid = false;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_program;
    std::vector<std::unique_ptr<QProcess>> m_clipboardServers;
};

/// Ends a process politely (SIGTERM), then by force if it has not gone within 3 s.
void endProcess(QProcess& process);

/// Polls `condition` every `pollMs` until it holds or `timeoutMs` passes; true when it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs = 50);

} // namespace folioneer::e2e
