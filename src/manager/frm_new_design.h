// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/layout_units.h"

#include <QSize>

// The project manager's design geometry in twips: each control's rectangle in its container (the
// window, a band or one of the three panels), and where the load moves the panels. The window is
// built from this table and the end-to-end tests click by it; the layout test checks the built
// window against its own literal figures.
namespace folioneer::managerDesign {

/// The client size is designed in pixels; the band Picture1 runs its full height.
inline constexpr QSize kClientPixels{1009, 557};

// In the window.
inline constexpr int kPicture1Width = 4245;
inline constexpr TwipsRect frNew{4680, 720, 9960, 7260};
inline constexpr TwipsRect optMenu_0{4635, 180, 1950, 465};
inline constexpr TwipsRect optMenu_1{6615, 180, 2760, 465};
inline constexpr TwipsRect frLoad{4635, 675, 9285, 7305};
inline constexpr TwipsRect frPro{4590, 90, 10230, 7845};

// The load lays the creation panel over the open panel and the sequel panel over the mode
// selector.
inline constexpr TwipsPoint kCreatePanelLoaded{frLoad.left, frLoad.top};
inline constexpr TwipsPoint kOpenPanelLoaded{frLoad.left, frLoad.top};
inline constexpr TwipsPoint kSequelPanelLoaded{optMenu_0.left, optMenu_0.top};

// In the band Picture1.
inline constexpr TwipsRect Label1{945, 2520, 2400, 420};

// In the creation panel frNew.
inline constexpr TwipsRect Label2{135, 315, 4785, 330};
inline constexpr TwipsRect lblCreateFromPublicDomainTitles{5625, 315, 4065, 240};
inline constexpr TwipsRect txtMainTopic{135, 720, 9600, 510};
inline constexpr TwipsRect Label3{135, 1530, 7215, 555};
inline constexpr TwipsRect lblCopyContent{9180, 1665, 600, 285};
inline constexpr TwipsRect txtPrompt{135, 2115, 9600, 1050};
inline constexpr TwipsRect Label4{135, 3420, 7215, 330};
inline constexpr TwipsRect lblPaste{8280, 3420, 1455, 330};
inline constexpr TwipsRect Label7{135, 3780, 9465, 600};
inline constexpr TwipsRect txtResults{135, 4320, 9555, 1140};
inline constexpr TwipsRect lblOutlineConverted{135, 5475, 9555, 300};
inline constexpr TwipsRect Label5{90, 5805, 4245, 330};
inline constexpr TwipsRect txtProjectName{4545, 5715, 4380, 510};
inline constexpr TwipsRect cmdOk{2565, 6345, 3885, 690};

// In the open panel frLoad.
inline constexpr TwipsRect Label6{540, 270, 4785, 330};
inline constexpr TwipsRect lstProjects{585, 630, 8160, 5580};
inline constexpr TwipsRect cmdLoadProject{1080, 6345, 3435, 690};
inline constexpr TwipsRect cmdDeleteProject{4680, 6345, 3435, 690};
// The book backups in free space of the panel: two links right of "Your Projects:" (the window's
// 664, 63, 264 x 24 px), ending where the project list ends, and one below "Delete Project" (in
// the window's 309, 514, 619 x 18 px).
inline constexpr TwipsRect lblBackUpBook{5325, 270, 1740, 360};
inline constexpr TwipsRect lblRestoreBook{7065, 270, 1680, 360};
inline constexpr TwipsRect lblDeletedBooks{4680, 7035, 3435, 270};

// In the sequel panel frPro and its band Picture2.
inline constexpr TwipsRect Picture2{0, 0, 17490, 870};
inline constexpr TwipsRect lblAppName{315, 270, 7755, 420};
inline constexpr TwipsRect lblDone{6525, 225, 3525, 375};
inline constexpr TwipsRect Label8{180, 1215, 1950, 330};
inline constexpr TwipsRect cboSuboptions{180, 1620, 7665, 360};
inline constexpr TwipsRect lstPrompts{180, 2160, 9915, 2220};
inline constexpr TwipsRect Label9{180, 4635, 2670, 330};
inline constexpr TwipsRect lblCopyToClipboard{6885, 4590, 3165, 420};
inline constexpr TwipsRect txtSelectedPrompt{180, 5040, 9915, 1545};
inline constexpr TwipsRect cmpPromptOk{3060, 6930, 2175, 645};
inline constexpr TwipsRect cmdPromptCancel{5400, 6930, 2175, 645};

} // namespace folioneer::managerDesign
