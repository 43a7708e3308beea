#pragma once

#include <QtGlobal>

#include <ctime>

namespace spreadsheet::detail {

// What reading one workbook may cost, whatever its headers claim: the bytes unpacked from its archive and
// the processor time of the reading thread. A parts or stocks list needs a tiny fraction of either. The time
// is the thread's own, not the clock's, so a busy machine reads the same file with the same result.
class ReadBudget {
public:
    static constexpr qint64 kInflatedBytes = 100 * 1024 * 1024;
    static constexpr qint64 kMilliseconds = 1500;

    explicit ReadBudget(qint64 bytes = kInflatedBytes, qint64 milliseconds = kMilliseconds)
        : m_bytesLeft(bytes), m_milliseconds(milliseconds), m_start(threadMilliseconds())
    {
    }

    // Takes n unpacked bytes from the budget; false, for good, once the bytes or the time run out.
    bool spend(qint64 n)
    {
        m_bytesLeft -= n;
        if (m_bytesLeft < 0 || threadMilliseconds() - m_start > m_milliseconds)
            m_exceeded = true;
        return !m_exceeded;
    }
    bool exceeded() const { return m_exceeded; }

private:
    static qint64 threadMilliseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }

    qint64 m_bytesLeft;
    qint64 m_milliseconds;
    qint64 m_start;
    bool m_exceeded = false;
};

} // namespace spreadsheet::detail
