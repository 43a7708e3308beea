#pragma once

#include <QWidget>

class QComboBox;
class QSpinBox;

namespace labels {

class LabelPrintout;

// The preview's controls of a label printout: the sheet, and how many labels of a used sheet to skip.
class LabelSheetControls : public QWidget {
    Q_OBJECT

public:
    explicit LabelSheetControls(LabelPrintout& printout, QWidget* parent = nullptr);

Q_SIGNALS:
    // The printout has another sheet or skip; its pages must be laid out again.
    void changed();

private:
    void sheetChosen(int index);

    LabelPrintout& m_printout;
    QComboBox* m_sheets = nullptr;
    QSpinBox* m_skip = nullptr;
};

} // namespace labels
