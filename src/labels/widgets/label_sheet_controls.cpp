#include "label_sheet_controls.h"

#include "labels/painting/label_printout.h"
#include "localization/translate.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

namespace labels {

using localization::translate;

LabelSheetControls::LabelSheetControls(LabelPrintout& printout, QWidget* parent) : QWidget(parent), m_printout(printout)
{
    setObjectName(QStringLiteral("labelSheetControls"));
    m_sheets = new QComboBox(this);
    m_sheets->setObjectName(QStringLiteral("cbLabelSheet"));
    m_sheets->setToolTip(translate("The label sheet or label roll printed on"));
    for (const LabelSheet& sheet : labelSheets()) {
        m_sheets->addItem(sheetCaption(sheet), sheet.name);
        if (sheet.name == printout.sheet().name)
            m_sheets->setCurrentIndex(m_sheets->count() - 1);
    }
    m_skip = new QSpinBox(this);
    m_skip->setObjectName(QStringLiteral("seLabelSkip"));
    m_skip->setToolTip(translate("Labels already used on the first sheet: printing starts after them"));
    m_skip->setRange(0, printout.sheet().labelsPerSheet() - 1);
    m_skip->setValue(printout.skip());
    auto* skipLabel = new QLabel(translate("Skip:"), this);
    skipLabel->setBuddy(m_skip);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sheets);
    layout->addWidget(skipLabel);
    layout->addWidget(m_skip);

    connect(m_sheets, &QComboBox::currentIndexChanged, this, &LabelSheetControls::sheetChosen);
    connect(m_skip, &QSpinBox::valueChanged, this, [this](int skip) {
        m_printout.setSkip(skip);
        Q_EMIT changed();
    });
}

void LabelSheetControls::sheetChosen(int index)
{
    const LabelSheet* sheet = labelSheetNamed(m_sheets->itemData(index).toString());
    if (!sheet)
        return;
    m_printout.setSheet(*sheet);
    {
        // A single label has nothing to skip.
        const QSignalBlocker blocker(m_skip);
        m_skip->setRange(0, sheet->labelsPerSheet() - 1);
        m_printout.setSkip(m_skip->value());
    }
    Q_EMIT changed();
}

} // namespace labels
