#pragma once

#include "grid_printer.h"
#include "print_dialogs.h"

#include <QDialog>
#include <QLabel>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;

namespace printing {

// The shown page: a click enlarges it.
class PageImage : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// "Preview and Print": one page of the grid printer at a time, the controls that change its options, and
// printing or saving as PDF of the whole document. Its captions are not translated.
class TjvGridPreview : public QDialog {
    Q_OBJECT

public:
    TjvGridPreview(TjvGridPrinter& printer, QPrinter& device, PrintDialogs& dialogs, QWidget* parent = nullptr);

    // Lays the pages out again and shows the selected page.
    void refresh();
    // Prints every page; "No printer installed!" when there is none.
    void print();
    void savePdf();
    // The width at which the page image is shown now, and the full page image's width.
    int shownWidth() const { return m_shownWidth; }
    int fullWidth() const;

private:
    void buildControls();
    void optionChanged();
    void headerItemChanged(int index);
    void headerTextEdited(const QString& text);
    void marginItemChanged(int index);
    void marginValueChanged(int value);
    void showPage();
    void printerSetup();
    void chooseLogo();
    void enlarge();
    void showAll();
    QString* headerOption(int index);
    int* marginOption(int index);

    TjvGridPrinter& m_printer;
    QPrinter& m_device;
    PrintDialogs& m_dialogs;
    QComboBox* m_headerItems = nullptr;
    QLineEdit* m_headerText = nullptr;
    QComboBox* m_marginItems = nullptr;
    QSpinBox* m_marginValue = nullptr;
    QCheckBox* m_live = nullptr;
    QCheckBox* m_grid = nullptr;
    QSpinBox* m_page = nullptr;
    QLabel* m_pageCount = nullptr;
    QScrollArea* m_scroll = nullptr;
    PageImage* m_image = nullptr;
    QImage m_pageImage;
    int m_shownWidth = 0;
};

} // namespace printing
