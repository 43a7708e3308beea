#pragma once

#include "files/whole_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace cli {

// Where barvik-cli speaks: the result on standard output, messages and the progress bar on standard error.
// The program writes to its process's streams; the tests read what it said.
class Output {
public:
    virtual ~Output() = default;
    // The result: whether all of it was written, and why not (a closed pipe, a full disk).
    virtual files::WriteStatus write(QByteArrayView bytes) = 0;
    // One message; the line break is added.
    virtual void message(const QString& text) = 0;
    // Whether a person watches standard error, so that a progress bar means something there.
    virtual bool watched() const = 0;
    // Text drawn over the last progress text.
    virtual void progress(const QByteArray& text) = 0;
};

// The process's standard output and standard error, written unbuffered so that every failure is seen.
class StandardStreams : public Output {
public:
    files::WriteStatus write(QByteArrayView bytes) override;
    void message(const QString& text) override;
    bool watched() const override;
    void progress(const QByteArray& text) override;
};

} // namespace cli
