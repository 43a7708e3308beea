#pragma once

#include "paged_document.h"
#include "print_dialogs.h"

#include <QDialog>
#include <QLabel>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
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

// "Preview and Print": one page of a printout at a time, the controls that change its options, zoom, and
// printing or saving as PDF of the whole document. Its captions are not translated; its tooltips are.
class TjvGridPreview : public QDialog {
    Q_OBJECT

public:
    TjvGridPreview(PagedDocument& document, QPrinter& device, PrintDialogs& dialogs, QWidget* parent = nullptr);

    // Controls of the document's own beside the page controls, such as the label sheet.
    void addControls(QWidget* controls);
    // Lays the pages out again and shows the selected page.
    void refresh();
    // Prints every page; "No printer installed!" when there is none.
    void print();
    void savePdf();
    // The width at which the page image is shown now, and the full page image's width.
    int shownWidth() const { return m_shownWidth; }
    int fullWidth() const;
    // Zoom by a step of 1.25, to the viewing area's width, or to the whole page in sight.
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void optionChanged();
    void headerItemChanged(int index);
    void headerTextEdited(const QString& text);
    void marginItemChanged(int index);
    void marginValueChanged(int value);
    void showPage();
    void zoomTo(int width);
    void printerSetup();
    void chooseLogo();
    void enlarge();
    QString* headerOption(int index);
    int* marginOption(int index);

    PagedDocument& m_document;
    QPrinter& m_device;
    PrintDialogs& m_dialogs;
    QHBoxLayout* m_controls = nullptr;
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
    int m_fullWidth = 0;
    int m_shownWidth = 0;
};

} // namespace printing
