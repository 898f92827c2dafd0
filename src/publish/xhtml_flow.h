// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/section_flow.h"

#include <QString>

#include <functional>

class QXmlStreamWriter;

namespace folioneer::publish {

/// Where a picture of the section being written is found: a data: URI or a path in the book.
using PictureSource = std::function<QString(int picture)>;

/// Writes a section's content as HTML elements (well-formed XHTML, which HTML readers also
/// take): paragraphs, headings two levels down, nested lists, tables, links and pictures. Every
/// element that is not void gets an end tag, so an HTML parser reads it as written.
void writeXhtmlFlow(QXmlStreamWriter& xml, const Flow& flow, const PictureSource& pictureSource);

/// Ends the current element with an end tag even when it is empty: "<p/>" would open a
/// paragraph in an HTML parser.
void endElement(QXmlStreamWriter& xml);

} // namespace folioneer::publish
