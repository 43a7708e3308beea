#include "calculation/grids.h"
#include "mainwindow/plan_freshness.h"

#include <gtest/gtest.h>

#include <memory>

using calculation::GridModel;
using mainwindow::PlanFreshness;

class PlanFreshnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_freshness.watch(*m_parts);
        m_freshness.watch(*m_stocks, calculation::kLeftQtyColumn);
        QObject::connect(&m_freshness, &PlanFreshness::staleChanged,
                         [this](bool stale) { m_signalled.push_back(stale); });
        m_freshness.calculationEnded(true);
    }

    std::unique_ptr<GridModel> m_parts{calculation::createPartsGrid()};
    std::unique_ptr<GridModel> m_stocks{calculation::createStocksGrid()};
    PlanFreshness m_freshness;
    std::vector<bool> m_signalled;
};

TEST_F(PlanFreshnessTest, AnEditMarksThePlanUntilTheNextCalc)
{
    m_parts->setCell(calculation::kQtyColumn, GridModel::kFirstDataRow, QStringLiteral("4"));
    EXPECT_TRUE(m_freshness.stale());
    m_stocks->setRows(m_stocks->rows() + 1);
    m_freshness.jobChanged();
    // A run that shows no plan leaves the old one marked.
    m_freshness.calculationEnded(false);
    EXPECT_TRUE(m_freshness.stale());
    m_freshness.calculationEnded(true);
    EXPECT_FALSE(m_freshness.stale());
    EXPECT_EQ(m_signalled, std::vector<bool>({true, false}));
}

TEST_F(PlanFreshnessTest, WritesOfTheProgramAreNoEdits)
{
    m_parts->setCell(1, GridModel::kTotalsRow, QStringLiteral("100"));
    m_stocks->setCell(0, GridModel::kHeaderRow, QStringLiteral("Bezeichnung"));
    m_stocks->setCell(calculation::kLeftQtyColumn, GridModel::kFirstDataRow, QStringLiteral("3"));
    m_freshness.setPaused(true);
    m_stocks->setCell(calculation::kPriorityColumn, GridModel::kFirstDataRow, QStringLiteral("Ja"));
    m_freshness.setPaused(false);
    EXPECT_FALSE(m_freshness.stale());
    EXPECT_TRUE(m_signalled.empty());
}

TEST(PlanFreshness, NothingIsStaleBeforeThereIsAPlan)
{
    PlanFreshness freshness;
    freshness.jobChanged();
    EXPECT_FALSE(freshness.stale());
}
