// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QString>

namespace folioneer {

// Decides which folder is the program folder and makes an installed program's folder ready.
// A portable program keeps everything beside its executable; a program installed system-wide
// (executable in bin/, data in share/folioneer/) keeps one program folder per user under the
// user's data folder, seeded from the shared data. Knows nothing about windows or message boxes.

enum class ProgramFolderKind { Portable, Installed };

struct ProgramFolderPlace {
    ProgramFolderKind kind = ProgramFolderKind::Portable;
    QString folder;     ///< the program folder, without a trailing separator
    QString dataFolder; ///< Installed: the shared data the folder is seeded from; else empty
};

/// The user's data folder: `xdgDataHome` when it is an absolute path (a relative one is ignored,
/// as the desktop's base-directory rules ask), otherwise `home` + "/.local/share".
QString userDataFolder(const QString& xdgDataHome, const QString& home);

/// Where the program folder is for an executable in `executableFolder`. Portable when that
/// folder holds "projects/"; installed when it holds none and "../share/folioneer" exists (then
/// `userDataFolder` + "/Folioneer"); otherwise portable, as a folder without projects/ always
/// was. Whether a folder can be written decides nothing: root can write to /usr/bin. Touches nothing.
ProgramFolderPlace locateProgramFolder(const QString& executableFolder, const QString& userDataFolder);

/// Makes an installed program folder ready: creates it and its "projects/", and copies each
/// file and folder of the data folder that is not there yet, so files the user edited or added
/// stay. Each copy is atomic, so one cut short is made again on the next start. Does nothing
/// for a portable folder. Stops at the first failure with "The program folder could not be
/// created.", the path that failed and the reason, as the failure's reason: the whole text shown
/// to the user.
Result prepareProgramFolder(const ProgramFolderPlace& place);

struct ProgramFolder {
    QString path;
    Result status;
};

/// The program folder of a program started from `executableFolder`, located with the
/// environment's XDG_DATA_HOME and HOME and prepared.
ProgramFolder openProgramFolder(const QString& executableFolder);

} // namespace folioneer
