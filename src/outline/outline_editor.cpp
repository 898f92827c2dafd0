// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_editor.h"

#include "outline/toc_writer.h"
#include "outline/trash.h"

#include <QCoreApplication>

#include <algorithm>

namespace folioneer {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("OutlineEditor", text);
}

Result emptyTitle()
{
    return Result::failure(tr("A title cannot be empty."));
}

} // namespace

void OutlineEditor::reset(ProjectOutline outline)
{
    m_outline = std::move(outline);
    m_undo.clear();
    m_redo.clear();
    m_focusId = 0;
}

bool OutlineEditor::validChapter(int chapter) const
{
    return chapter >= 0 && chapter < m_outline.chapters.size();
}

bool OutlineEditor::validSection(int chapter, int section) const
{
    return validChapter(chapter) && section >= 0 && section < m_outline.chapters.at(chapter).sections.size();
}

Result OutlineEditor::apply(ProjectOutline after, int focusId, const TrashedTexts& restore)
{
    // The first rewrite brings every line into the one written form.
    storeTitles(after);
    // Undo goes back to the same outline in written form.
    ProjectOutline before = m_outline;
    storeTitles(before);
    Entry entry{before, after, restore, {}, m_focusId, focusId};
    OutlineCommit commit = commitOutline(m_outline, std::move(after), restore);
    m_outline = commit.outline;
    if (!commit.result) {
        return commit.result;
    }
    entry.after = m_outline;
    entry.backwardRestore = commit.trashed;
    m_undo.append(entry);
    m_redo.clear();
    m_focusId = focusId;
    return {};
}

Result OutlineEditor::addSection(int chapter, int section, const QString& title)
{
    if (!validChapter(chapter)) {
        return Result::failure(tr("There is no chapter to add the section to."));
    }
    const QString typed = typedTitle(title);
    if (typed.isEmpty()) {
        return emptyTitle();
    }
    ProjectOutline after = m_outline;
    auto& sections = after.chapters[chapter].sections;
    const int at = section < 0 || section >= sections.size() ? int(sections.size()) : section + 1;
    const int id = after.newId();
    sections.insert(at, OutlineSection{id, storedSectionTitle(typed), {}, false});
    return apply(after, id);
}

Result OutlineEditor::addChapter(int chapter, const QString& title)
{
    const QString typed = typedTitle(title);
    if (typed.isEmpty()) {
        return emptyTitle();
    }
    ProjectOutline after = m_outline;
    const int at = chapter < 0 || chapter >= after.chapters.size() ? int(after.chapters.size()) : chapter + 1;
    const int id = after.newId();
    after.chapters.insert(at, OutlineChapterEntry{id, storedChapterTitle(typed), {}});
    return apply(after, id);
}

Result OutlineEditor::renameChapter(int chapter, const QString& title)
{
    if (!validChapter(chapter)) {
        return Result::failure(tr("There is no such chapter."));
    }
    const QString typed = typedTitle(title);
    if (typed.isEmpty()) {
        return emptyTitle();
    }
    ProjectOutline after = m_outline;
    after.chapters[chapter].title = storedChapterTitle(typed);
    return apply(after, after.chapters.at(chapter).id);
}

Result OutlineEditor::renameSection(int chapter, int section, const QString& title)
{
    if (!validSection(chapter, section)) {
        return Result::failure(tr("There is no such section."));
    }
    const QString typed = typedTitle(title);
    if (typed.isEmpty()) {
        return emptyTitle();
    }
    ProjectOutline after = m_outline;
    OutlineSection& renamed = after.chapters[chapter].sections[section];
    renamed.title = storedSectionTitle(typed);
    return apply(after, renamed.id);
}

Result OutlineEditor::deleteChapter(int chapter)
{
    if (!validChapter(chapter)) {
        return Result::failure(tr("There is no such chapter."));
    }
    ProjectOutline after = m_outline;
    after.chapters.removeAt(chapter);
    const int focus = after.chapters.isEmpty() ? 0 : after.chapters.at(std::max(0, chapter - 1)).id;
    return apply(after, focus);
}

Result OutlineEditor::deleteSection(int chapter, int section)
{
    if (!validSection(chapter, section)) {
        return Result::failure(tr("There is no such section."));
    }
    ProjectOutline after = m_outline;
    auto& sections = after.chapters[chapter].sections;
    sections.removeAt(section);
    const int focus =
        sections.isEmpty() ? after.chapters.at(chapter).id : sections.at(std::max(0, section - 1)).id;
    return apply(after, focus);
}

Result OutlineEditor::moveSection(int chapter, int section, int toChapter, int toSection)
{
    if (!validSection(chapter, section) || !validChapter(toChapter)) {
        return Result::failure(tr("There is no such section."));
    }
    ProjectOutline after = m_outline;
    const OutlineSection moved = after.chapters[chapter].sections.takeAt(section);
    auto& target = after.chapters[toChapter].sections;
    toSection = std::clamp(toSection, 0, int(target.size()));
    if (chapter == toChapter && section == toSection) {
        return {};
    }
    target.insert(toSection, moved);
    return apply(after, moved.id);
}

Result OutlineEditor::moveChapter(int chapter, int toChapter)
{
    if (!validChapter(chapter)) {
        return Result::failure(tr("There is no such chapter."));
    }
    ProjectOutline after = m_outline;
    const OutlineChapterEntry moved = after.chapters.takeAt(chapter);
    toChapter = std::clamp(toChapter, 0, int(after.chapters.size()));
    if (toChapter == chapter) {
        return {};
    }
    after.chapters.insert(toChapter, moved);
    return apply(after, moved.id);
}

Result OutlineEditor::moveUp(int chapter, int section)
{
    if (section < 0) {
        return chapter > 0 ? moveChapter(chapter, chapter - 1) : Result{};
    }
    if (section > 0) {
        return moveSection(chapter, section, chapter, section - 1);
    }
    if (chapter > 0) {
        return moveSection(chapter, section, chapter - 1,
                           int(m_outline.chapters.at(chapter - 1).sections.size()));
    }
    return {};
}

Result OutlineEditor::moveDown(int chapter, int section)
{
    if (section < 0) {
        return validChapter(chapter + 1) ? moveChapter(chapter, chapter + 1) : Result{};
    }
    if (!validSection(chapter, section)) {
        return {};
    }
    if (section + 1 < m_outline.chapters.at(chapter).sections.size()) {
        return moveSection(chapter, section, chapter, section + 1);
    }
    if (validChapter(chapter + 1)) {
        return moveSection(chapter, section, chapter + 1, 0);
    }
    return {};
}

Result OutlineEditor::restoreFromTrash(const TrashItem& item, int chapter)
{
    const QString title = typedTitle(item.title);
    if (title.isEmpty()) {
        return emptyTitle();
    }
    ProjectOutline after = m_outline;
    if (!validChapter(chapter)) {
        const QString chapterTitle = typedTitle(item.chapter);
        after.chapters.append(
            {after.newId(), storedChapterTitle(chapterTitle.isEmpty() ? tr("Restored") : chapterTitle), {}});
        chapter = int(after.chapters.size()) - 1;
    }
    const int id = after.newId();
    after.chapters[chapter].sections.append({id, storedSectionTitle(title), {}, false});
    return apply(after, id, TrashedTexts{{id, item.name}});
}

Result OutlineEditor::undo()
{
    if (m_undo.isEmpty()) {
        return {};
    }
    Entry entry = m_undo.takeLast();
    OutlineCommit commit = commitOutline(m_outline, entry.before, entry.backwardRestore, true);
    m_outline = commit.outline;
    if (!commit.result) {
        m_undo.append(entry);
        return commit.result;
    }
    entry.forwardRestore = commit.trashed;
    m_focusId = entry.focusAfter ? entry.focusAfter : entry.focusBefore;
    m_redo.append(entry);
    return {};
}

Result OutlineEditor::redo()
{
    if (m_redo.isEmpty()) {
        return {};
    }
    Entry entry = m_redo.takeLast();
    OutlineCommit commit = commitOutline(m_outline, entry.after, entry.forwardRestore, true);
    m_outline = commit.outline;
    if (!commit.result) {
        m_redo.append(entry);
        return commit.result;
    }
    entry.backwardRestore = commit.trashed;
    m_focusId = entry.focusAfter;
    m_undo.append(entry);
    return {};
}

} // namespace folioneer
