#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace spreadsheet::detail {

// What reading one workbook may cost, whatever its headers claim: the bytes unpacked from its archive and
// the time taken. A parts or stocks list needs a tiny fraction of either.
class ReadBudget {
public:
    static constexpr qint64 kInflatedBytes = 100 * 1024 * 1024;
    static constexpr qint64 kMilliseconds = 1500;

    explicit ReadBudget(qint64 bytes = kInflatedBytes, qint64 milliseconds = kMilliseconds)
        : m_bytesLeft(bytes), m_milliseconds(milliseconds)
    {
        m_clock.start();
    }

    // Takes n unpacked bytes from the budget; false, for good, once the bytes or the time run out.
    bool spend(qint64 n)
    {
        m_bytesLeft -= n;
        if (m_bytesLeft < 0 || m_clock.elapsed() > m_milliseconds)
            m_exceeded = true;
        return !m_exceeded;
    }
    bool exceeded() const { return m_exceeded; }

private:
    QElapsedTimer m_clock;
    qint64 m_bytesLeft;
    qint64 m_milliseconds;
    bool m_exceeded = false;
};

} // namespace spreadsheet::detail
