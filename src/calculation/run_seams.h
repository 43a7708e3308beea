#pragma once

#include <QDateTime>
#include <QString>

namespace calculation {

// How a message is marked: information for success reports and the checks before a search, error for
// refusals and failures.
enum class MessageIcon { Information, Error };

// Where the messages of a run go: message boxes in the window, standard error in the command-line program.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text, MessageIcon icon) = 0;
};

// The progress bar of a run: a maximum, a position, and single steps.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual void step() = 0;
};

// The local date and time, for remnant labels and printed dates; tests fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

} // namespace calculation
