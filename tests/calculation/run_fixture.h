#pragma once

#include "calculation/calculation_run.h"
#include "calculation/grids.h"
#include "support/grid_fixture.h"

#include <memory>
#include <utility>
#include <vector>

// Messages a run showed, with their icons.
class RecordedMessages : public calculation::MessageSink {
public:
    void showMessage(const QString& text, calculation::MessageIcon icon) override { shown.emplace_back(text, icon); }
    std::vector<std::pair<QString, calculation::MessageIcon>> shown;
};

class RecordedProgress : public calculation::ProgressSink {
public:
    void setMaximum(int value) override { maximum = value; }
    void setPosition(int value) override { position = value; }
    void step() override { ++position, ++steps; }
    int maximum = 0;
    int position = 0;
    int steps = 0;
};

class FixedClock : public calculation::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 7), QTime(14, 5)); }
};

// The three grids of the window and the record of the last run, with runs made on them.
class RunTest : public GridTest {
protected:
    std::unique_ptr<calculation::GridModel> parts{calculation::createPartsGrid()};
    std::unique_ptr<calculation::GridModel> stocks{calculation::createStocksGrid()};
    std::unique_ptr<calculation::GridModel> layout{calculation::createLayoutGrid()};
    optimizer::strGroupArg lastRun;
    RecordedMessages messages;
    RecordedProgress progress;
    FixedClock clock;
    calculation::CalcControls controls;

    bool calc(uint32_t seed = 1)
    {
        calculation::CalculationRun run({*parts, *stocks, *layout}, lastRun, messages, clock, &progress);
        optimizer::RandomSource random(seed);
        const bool shown = run.run(controls, random);
        focus = run.focus();
        return shown;
    }

    QString lastMessage() const { return messages.shown.empty() ? QString() : messages.shown.back().first; }

    calculation::RunFocus focus = calculation::RunFocus::None;
};
