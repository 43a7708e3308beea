#pragma once

#include "calculation/run_seams.h"
#include "optimizer/search_observer.h"

#include <QPointer>
#include <QProgressBar>

#include <atomic>

namespace mainwindow::widgets {

// The run's progress on the window's progress bar. Steps stop at the maximum, which the run sets at its end.
class ProgressBarSink final : public calculation::ProgressSink {
public:
    explicit ProgressBarSink(QProgressBar* bar = nullptr) : m_bar(bar) {}
    void setBar(QProgressBar* bar) { m_bar = bar; }

    void setMaximum(int maximum) override
    {
        if (m_bar)
            m_bar->setMaximum(maximum);
    }
    void setPosition(int position) override
    {
        if (m_bar)
            m_bar->setValue(position);
    }
    void step() override
    {
        if (m_bar && m_bar->value() < m_bar->maximum())
            m_bar->setValue(m_bar->value() + 1);
    }

private:
    QPointer<QProgressBar> m_bar;
};

// Between the search on its worker thread and the window: each finished generation becomes one queued
// step of the progress bar, and the Stop button's request is read by the search.
class SearchRelay final : public optimizer::SearchObserver {
public:
    explicit SearchRelay(ProgressBarSink& progress, QObject* receiver) : m_progress(progress), m_receiver(receiver) {}

    void reset() { m_stop = false; }
    void requestStop() { m_stop = true; }

    void generationFinished(int32_t) override
    {
        ProgressBarSink* progress = &m_progress;
        QMetaObject::invokeMethod(
            m_receiver, [progress] { progress->step(); }, Qt::QueuedConnection);
    }
    bool stopRequested() override { return m_stop.load(); }

private:
    ProgressBarSink& m_progress;
    QObject* m_receiver;
    std::atomic<bool> m_stop = false;
};

} // namespace mainwindow::widgets
