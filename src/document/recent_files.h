#pragma once

#include <QList>
#include <QString>

namespace document {

enum class RecentKind { Project, Parts, Stocks };

struct RecentFile {
    QString path;
    RecentKind kind = RecentKind::Project;

    bool operator==(const RecentFile&) const = default;
};

// The files last opened or saved, projects and lists, newest first, each once; kept in an INI file with the
// window's state.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    const QList<RecentFile>& files() const { return m_files; }
    // To the top; the oldest beyond eight falls off.
    void add(const QString& path, RecentKind kind);
    // A file that could not be opened any more.
    void remove(const QString& path, RecentKind kind);

    void read(const QString& iniPath);
    void write(const QString& iniPath) const;

private:
    QList<RecentFile> m_files;
};

} // namespace document
