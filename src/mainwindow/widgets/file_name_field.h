#pragma once

#include <QLineEdit>

namespace mainwindow::widgets {

// The read-only field above a grid that names its list file: the file name in the field, the whole path in
// the tooltip under the field's hint. Grey like the window.
class FileNameField : public QLineEdit {
    Q_OBJECT

public:
    explicit FileNameField(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    void setHint(const QString& hint);

private:
    void showPath();

    QString m_path;
    QString m_hint;
};

} // namespace mainwindow::widgets
