// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/book_publisher.h"
#include "support/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace folioneer::test {

// A prepared book for the export tests: three chapters (the last without sections), sections
// whose content holds bold, italic, nested lists, a table, a picture, a link and non-Latin text.

inline const QStringList kSampleChapters{"Soil", "Water", "Harvest"};
inline const QStringList kSampleSections{"Compost & Loam", "Worms", "Rain"};
inline const QString kSampleBold = QStringLiteral("strong words");
inline const QString kSampleItalic = QStringLiteral("slanted words");

/// The RTF of a section with every kind of formatting the exports carry.
QByteArray richSectionRtf();

/// Creates the prepared book as projects/<name> in `programFolder`; returns the project folder.
QString makeSampleBook(const QString& programFolder, const QString& name);

/// Creates a project from a table of contents and content files given by (chapter, section)
/// titles as the outline holds them; returns the project folder.
QString makeBook(const QString& programFolder, const QString& name, const QByteArray& toc,
                 const QList<std::pair<QStringList, QByteArray>>& contents);

/// A book that tests an edge of the exports: its name, table of contents and content files.
struct EdgeBook {
    const char* name;
    QByteArray toc;
    QList<std::pair<QStringList, QByteArray>> contents;
};

/// The edge cases every format must survive: an empty book, chapters without sections, an empty
/// title, sections without content files, titles with markup characters, emoji, right-to-left
/// text and a control character, a 0-byte content file, one huge paragraph.
QList<EdgeBook> edgeBooks();

/// Fills `document` with a 3 x 3 table of merged cells:
///   A A B       A spans two columns, C two rows.
///   C D E
///   C F G
void fillMergedTable(QTextDocument& document);

/// Writes a book of one chapter ("Tables") with one section ("Merged cells") whose content is
/// `document`, in `format` (not text) to `path`, through the format's writer.
Result writeOneSectionBook(const QTextDocument& document, publish::BookFormat format, const QString& path);

} // namespace folioneer::test
