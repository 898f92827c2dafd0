// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSizeF>
#include <QString>

#include <memory>

class QTextDocument;

namespace folioneer::publish {

// A section's content as the file writers need it: paragraphs of formatted runs, list items with
// their depth, tables and pictures, taken out of a QTextDocument once so that each writer only
// decides how its format spells them. Text is already XML-safe; soft hyphens and object
// replacement characters are gone.

struct Run {
    QString text; ///< may hold U+2028 (a line break inside the paragraph) and TABs
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    double pointSize = 0; ///< 0: the default size
    QColor color;         ///< invalid: the default colour
    QString href;         ///< non-empty for a link
    int picture = -1;     ///< index into Flow::pictures for a picture run (text empty)
    bool sameLook(const Run& other) const;
};

struct Table;

struct Paragraph {
    int headingLevel = 0; ///< 1..6 for a heading inside the section
    int listLevel = 0;    ///< 1.. for a list item, 0 otherwise
    bool ordered = false; ///< numbered list item
    int listId = -1;      ///< the same for every item of one list within the section
    bool rightToLeft = false;
    Qt::Alignment alignment = Qt::AlignLeading;
    QList<Run> runs;
    bool isEmpty() const { return runs.isEmpty(); }
    QString plainText() const;
};

/// A paragraph or a table, in reading order.
struct Block {
    Paragraph paragraph;
    std::shared_ptr<Table> table; ///< set for a table; the paragraph is then unused
};

/// A cell of a table: its content and the places of the table's grid it covers.
struct TableCell {
    QList<Block> blocks;
    int row = 0;        ///< the grid row it begins in
    int column = 0;     ///< the grid column it begins in
    int rowSpan = 1;    ///< 1.., never past the last row
    int columnSpan = 1; ///< 1.., never past the last column
};

struct Table {
    int columns = 0;
    QList<QList<TableCell>> rows; ///< per grid row, the cells that begin in it, left to right
};

/// Every place of a table's grid with the cell that covers it, for formats that write covered
/// places (merge marks, covered cells, empty cells).
class TableGrid {
public:
    explicit TableGrid(const Table& table);
    /// The cell covering the place, or null where none does.
    const TableCell* at(int row, int column) const;
    /// Whether a cell begins at the place.
    bool begins(int row, int column) const;

private:
    int m_columns;
    QList<const TableCell*> m_places;
};

struct Picture {
    QByteArray png;
    QSizeF size; ///< as shown, in pixels at 96 dpi
};

struct Flow {
    QList<Block> blocks;
    QList<Picture> pictures;
};

/// The flow of `document`. Pictures that cannot be encoded are left out.
Flow flowOf(const QTextDocument& document);

/// A run's text as a flow holds it: XML-safe, without soft hyphens and object replacement
/// characters, paragraph separators as line separators.
QString flowText(const QString& text);

/// Sets the size of the runs in the size most of the text has to 0 (the default size).
void dropBodySize(QList<Block>& blocks);

} // namespace folioneer::publish
