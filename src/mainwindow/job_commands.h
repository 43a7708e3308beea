#pragma once

#include "user_dialogs.h"

#include "document/job_document.h"
#include "document/recent_files.h"

#include <functional>

namespace mainwindow {

// The file commands of the job as a desktop document: what is asked before anything unsaved is discarded,
// what Save and Save Project write, and opening lists and projects so that a failure changes nothing. The
// window connects them to its buttons and menus; the settings' controls are reached through the callbacks.
class JobCommands {
public:
    JobCommands(document::JobDocument& job, UserDialogs& dialogs, document::RecentFiles& recent);

    // A short note for the status bar ("Saved parts.txt").
    std::function<void(const QString&)> status;
    // The recent files changed.
    std::function<void()> recentChanged;
    // Puts the settings of an opened project into the controls, those of the steps restored.
    std::function<void(const document::ProjectLoad&)> applyProject;
    // Puts every setting back to its default, for a new job.
    std::function<void()> resetSettings;

    // Before the job is discarded (closing, quitting, a new job, another project): "Save the changes to this
    // job?" when anything is unsaved, naming it. False when the user cancels or a save is cancelled or fails.
    bool confirmDiscardJob();
    // The same before another list is opened over an edited one.
    bool confirmDiscardList(document::ListKind kind);
    // Saves everything that is unsaved: the lists to their files (or names asked for), then the project.
    bool saveJob();

    // Save: writes the list to a name asked for, or to its own file when that holds a text list and
    // askName is false.
    bool saveList(document::ListKind kind, bool askName);
    // Save Project: first asks, for each list whose grid differs from its file, whether to save it; then
    // writes the project to its file, or to a name asked for.
    bool saveProject(bool askName);

    // Opens a list as one edit that can be undone; a file that can't be read changes nothing.
    bool openList(document::ListKind kind, const QString& path, int format,
                  const document::ListReader& read = document::readList);
    // Opens a project: the lists read by their names, the settings, a history of its own. A list that can't be
    // read keeps its grid and file; the settings of the steps before a failure are restored.
    bool openProject(const QString& path, const document::ListReader& read = document::readList);
    // A new job: both lists empty, every setting at its default, after the question.
    bool newJob();

    // A file result as a message box: failures with the error icon, notices with the information icon.
    void report(const calculation::FileResult& result);

private:
    QString note(const QString& text, const QString& path);
    void recent(const QString& path, document::RecentKind kind, bool add);

    document::JobDocument& m_job;
    UserDialogs& m_dialogs;
    document::RecentFiles& m_recent;
};

// The kind of recent file a list is.
document::RecentKind recentKind(document::ListKind kind);

} // namespace mainwindow
