// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_code_pages.h"
#include "rtf/rtf_control_words.h"
#include "rtf/rtf_font_table.h"
#include "rtf/rtf_group_state.h"
#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_legacy_numbering.h"
#include "rtf/rtf_list_table.h"
#include "rtf/rtf_paragraph_assembler.h"

#include <algorithm>

namespace folioneer::rtf {

// The parts an interpreter reads a document with; shared by the interpreter's own files only.
struct Interpreter::Parts {
    Parts(Sink& sink, const std::vector<GroupState>& groups, DocumentTables& tables,
          const ReaderLimits& limits)
        : fonts(tables, limits.maxFonts), lists(limits.maxLists),
          paragraphs(sink, groups, lists, legacy, fonts)
    {
    }

    FontTable fonts;
    CodePageDecoders decoders;
    ListTable lists;
    LegacyNumbering legacy;
    ParagraphAssembler paragraphs;
};

inline GroupState& Interpreter::state()
{
    return m_stack.back();
}

inline int clampInt(int value, int low, int high)
{
    return std::min(std::max(value, low), high);
}

} // namespace folioneer::rtf
