#pragma once

#include "document/list_file.h"
#include "document/project_file.h"

#include <QObject>

#include <functional>

namespace document {

// One list as it stands: its cells and its file.
struct ListSnapshot {
    calculation::GridModel::Cells cells;
    ListFile file;

    bool operator==(const ListSnapshot&) const = default;
};

// The job on screen as a desktop document: the two lists with the files they belong to, the settings with
// the project they belong to, and whether any of it differs from what was saved. Every change of a list is
// told as one edit (with the list before and after) that can be undone, and the totals rows follow the rows
// after every change.
class JobDocument : public QObject {
    Q_OBJECT

public:
    JobDocument(calculation::GridModel& parts, calculation::GridModel& stocks, QObject* parent = nullptr);

    calculation::GridModel& grid(ListKind kind) const;
    const ListFile& file(ListKind kind) const { return m_files[index(kind)]; }
    ListSnapshot snapshot(ListKind kind) const;

    // Runs a change of a list as one edit, named for undo ("Paste"); false when nothing changed. Changes that
    // reach a grid outside edit() (typing into a cell) are edits too, one per cell and typing session.
    bool edit(ListKind kind, const QString& name, const std::function<void()>& change);
    // A change that is the program's own (a calculation's "Left Qty", a language's Priority words): no edit,
    // nothing to undo.
    void programChange(ListKind kind, const std::function<void()>& change);
    // Puts a list back as it was, its file too when withFile (undo and redo).
    void restore(ListKind kind, const ListSnapshot& snapshot, bool withFile);
    // The cell editor closed: the next typing, even into the same cell, is an edit of its own.
    void endTyping() { ++m_typingSession; }

    // The list now equals this file: just read from it or saved to it.
    void setListFile(ListKind kind, const QString& path, int format);
    // The list belongs to this file, which holds what the image says (a file written from other rows).
    void setListFile(ListKind kind, const ListFile& file);
    // The grid differs from its file; a list without a file differs once it has a labelled row.
    bool listModified(ListKind kind) const;

    // The settings as the controls hold them; the list paths are always those of the lists' files.
    ProjectSettings settings() const;
    void setSettings(const ProjectSettings& settings);
    const QString& projectPath() const { return m_projectPath; }
    // What the project file holds, or the start's settings without a project.
    const ProjectSettings& savedSettings() const { return m_savedSettings; }
    // The job now is this project: the project file holds `saved` (the settings as they stand when empty).
    // An empty path: no project, and the settings as they stand are the start's.
    void setProject(const QString& path);
    void setProject(const QString& path, const ProjectSettings& saved);
    // The settings differ from the project's (its list paths included), or from the start's without one.
    bool settingsModified() const;

    bool modified() const;
    // Forgets the files and the project, as for a new job or a job restored: the history starts anew.
    void startAnew();

    // The job's name for the window title: the project's file name, else the lists' file names, else
    // "untitled".
    QString name() const;
    // What is not saved, one item each ("the parts list parts.txt", "the settings"), for the question
    // before anything is discarded.
    QStringList unsaved() const;
    QString unsavedItem(ListKind kind) const;

Q_SIGNALS:
    // A list was changed by the user; mergeKey is not 0 for typing into one cell, which adds up to one edit.
    void edited(document::ListKind kind, const QString& name, const document::ListSnapshot& before,
                const document::ListSnapshot& after, qint64 mergeKey);
    void modifiedChanged(bool modified);
    // Anything of the job changed: rows, files, settings or project.
    void changed();
    void started();

private:
    static int index(ListKind kind) { return kind == ListKind::Parts ? 0 : 1; }
    void watch(ListKind kind);
    void gridChanged(ListKind kind, int lastRow, qint64 mergeKey);
    // After a change of a list: its totals, the last state seen, and what follows from it.
    void settle(ListKind kind, bool totals);
    void update();

    calculation::GridModel* m_grids[2];
    ListFile m_files[2];
    ListSnapshot m_last[2];
    int m_batch[2] = {0, 0};
    qint64 m_typingSession = 1;
    ProjectSettings m_settings;
    ProjectSettings m_savedSettings;
    QString m_projectPath;
    bool m_modified = false;
};

// A job's name: the project's file name, else the lists' file names, else "untitled".
QString jobName(const QString& project, const QString& partsFile, const QString& stocksFile);

} // namespace document
