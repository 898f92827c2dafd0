// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/layout_units.h"

// The main window's design geometry in twips: its client size and each control's rectangle in
// its container (the window, the band Picture1 or the frame Frame1). The window is built from
// this table and the end-to-end tests click by it; the layout test checks the built window
// against its own literal figures.
namespace folioneer::mainWindowDesign {

inline constexpr TwipsSize kClient{18465, 9600};

// In the window.
inline constexpr TwipsRect Picture1{0, 0, 18465, 1095};
inline constexpr TwipsRect Label6{270, 1260, 2130, 285};
inline constexpr TwipsRect lblProjectManager{3150, 1260, 2130, 285};
inline constexpr TwipsRect TreeView1{225, 1710, 5055, 6675};
inline constexpr TwipsRect cmdCopyEverything{270, 8460, 5055, 825};
inline constexpr TwipsRect lblExportBook{270, 9300, 2400, 285};
inline constexpr TwipsRect Frame1{5445, 1620, 12750, 3120};
inline constexpr TwipsRect Label5{5490, 4995, 1005, 240};
inline constexpr TwipsRect lblCopyContent{6660, 4995, 645, 285};
inline constexpr TwipsRect lblPaste{7335, 4995, 690, 240};
inline constexpr TwipsRect cmdSaveChanges{8145, 4950, 1680, 330};
inline constexpr TwipsRect RichTextBox1{5445, 5355, 12750, 3930};
// The writer's tools in free space of the design: the find bar right of "Save Changes" up to the
// window's edge, the word counts below the content box.
inline constexpr TwipsRect FindBar{9825, 4740, 8640, 615};
inline constexpr TwipsRect lblWordCounts{5445, 9285, 12750, 315};

// In the band Picture1.
inline constexpr TwipsRect lblAppName{270, 405, 4065, 330};
inline constexpr TwipsRect lblBy{3825, 420, 4065, 330};
inline constexpr TwipsRect lblProjectFolder{8550, 360, 3750, 465};
// The note about unplaced texts, in the band's free space right of the hidden project folder.
inline constexpr TwipsRect lblUnplaced{12600, 420, 5600, 330};

// In the frame Frame1.
inline constexpr TwipsRect Label4{315, 315, 1815, 285};
inline constexpr TwipsRect lblMainTopic{2070, 270, 7485, 285};
inline constexpr TwipsRect Label2{315, 720, 1500, 285};
inline constexpr TwipsRect lblParentNode{2070, 675, 7485, 285};
inline constexpr TwipsRect Label1{315, 1080, 1815, 285};
inline constexpr TwipsRect lblSelectedItem{2070, 1080, 7485, 285};
inline constexpr TwipsRect Label3{360, 1620, 6225, 780};
inline constexpr TwipsRect lblCopy{10575, 1620, 1905, 240};
inline constexpr TwipsRect txtContentPrompt{360, 1980, 12165, 915};

} // namespace folioneer::mainWindowDesign
