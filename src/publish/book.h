// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QList>
#include <QString>

class QTextDocument;

namespace folioneer::publish {

struct Flow;

// The book as every file format sees it: title, subtitle, chapters and their sections, made by
// the same outline walk as the plain-text export. Sections hold the path of their content file,
// not its text: each section is read only while it is written, so a book of a thousand sections
// never sits in memory at once.

struct BookSection {
    QString title;       ///< as the table of contents gives it (may be empty)
    QString contentPath; ///< empty when the section has no content file
};

struct BookChapter {
    QString title;
    QList<BookSection> sections;
};

struct Book {
    QString title;       ///< the project's name
    QString subtitle;    ///< the main topic, blanks and line ends trimmed
    QString projectPath; ///< the project folder
    QList<BookChapter> chapters;
    int sectionCount() const;
};

struct BookLoad {
    Book book;
    Result result;
};

/// The book of the project folder `projectPath` (its name is the book's title). Fails when the
/// table of contents cannot be read. Sections before the first chapter form a chapter with an
/// empty title.
BookLoad loadBook(const QString& projectPath);

/// The sentence every failed export begins with.
QString exportFailedMessage();

/// Reads the content of `section` into `document` (emptied first): a missing or 0-byte content
/// file is empty content. A file that cannot be read or is not RTF fails, the section's title
/// and the reason in the failure.
Result readSection(const BookSection& section, QTextDocument& document);

/// Reads the content of `section` as flowOf() gives it for the document readSection() makes,
/// without making that document where the RTF allows. Fails as readSection() does.
Result readSectionFlow(const BookSection& section, Flow& flow);

/// `text` without the characters XML 1.0 forbids (controls other than TAB, LF and CR, unpaired
/// surrogates, U+FFFE and U+FFFF).
QString xmlSafe(const QString& text);

/// A chapter or section title as a heading shows it: XML-safe, blanks trimmed, "Untitled" when
/// nothing is left.
QString headingText(const QString& title);

} // namespace folioneer::publish
