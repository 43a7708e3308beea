#pragma once

#include <QString>
#include <QStringList>

namespace lists {

// Text of a list file that a loader read past without using: collected line by line while the file is
// loaded and told to the user afterwards in one message.
class IgnoredText {
public:
    // The lines shown by name; the rest are counted.
    static constexpr int kShownLines = 10;

    // Fields behind the last one that the line's layout uses.
    void addExtraFields(int line, const QStringList& fields);
    // A Priority word that is neither the translated "Yes" nor "No": it counts as "No".
    void addPriority(int line, const QString& word);

    bool isEmpty() const { return m_count == 0; }
    // The message naming the file, or an empty text when nothing was ignored.
    QString message(const QString& path) const;

private:
    void add(const QString& entry);

    QStringList m_shown;
    int m_count = 0;
};

} // namespace lists
