#pragma once

#include "labels/label_sheets.h"
#include "labels/piece_labels.h"
#include "printing/paged_document.h"

#include <QFont>
#include <vector>

namespace labels {

// The labels of a plan as pages of a label sheet: each label with the job's title, the part's label and
// length, where it comes from and a QR code of its barcode text. The sheet brings its own paper.
class LabelPrintout : public printing::PagedDocument {
public:
    LabelPrintout(const diagrams::PlanDiagrams& plan, LabelJob job);

    void setSheet(const LabelSheet& sheet) { m_sheet = sheet; }
    const LabelSheet& sheet() const { return m_sheet; }
    // Places left empty on the first sheet; kept below the labels of a sheet.
    void setSkip(int skip) { m_skip = skip; }
    int skip() const { return m_skip; }
    void setFont(const QFont& font) { m_font = font; }

    const std::vector<PieceLabel>& labels() const { return m_labels; }
    const LabelJob& job() const { return m_job; }
    // Laid out: one place per label.
    const std::vector<LabelPlace>& places() const { return m_places; }

    void layOut() override;
    int pageCount() const override { return m_pageCount; }
    QPageLayout pageLayout() const override;
    void setPageLayout(const QPageLayout&) override {}
    bool takesPrinterPaper() const override { return false; }
    QSize pageSize() const override;
    void paintPage(QPainter& painter, int index, const QSizeF& deviceSize) const override;
    void setOutlines(bool on) override { m_outlines = on; }
    QString documentName() const override;

private:
    void paintLabel(QPainter& painter, const PieceLabel& label, const LabelPlace& place) const;

    std::vector<PieceLabel> m_labels;
    LabelJob m_job;
    LabelSheet m_sheet;
    int m_skip = 0;
    QFont m_font;
    bool m_outlines = false;
    std::vector<LabelPlace> m_places;
    int m_pageCount = 0;
};

} // namespace labels
