#pragma once

// The readers behind the reader program, one per kind of file; each fills the sheet or says why it can't,
// and never throws.

#include "read_budget.h"
#include "sheet_cells.h"
#include "workbook_reader.h"

#include <QByteArrayView>
#include <QString>
#include <QXmlStreamAttributes>

namespace spreadsheet::detail {

class ZipPackage;

// Excel 97-2003 through FreeXL.
ReadFailure readXlsFile(const QString& path, SheetCells& sheet);
// Excel 2007+ (transitional and strict) and OpenDocument packages, their parts read with Qt's XML stream
// reader.
ReadFailure readXlsxPackage(const ZipPackage& package, ReadBudget& budget, SheetCells& sheet);
ReadFailure readOdsPackage(const ZipPackage& package, ReadBudget& budget, SheetCells& sheet);
// Text with its fields separated by TABs, semicolons or commas.
ReadFailure readCsv(QByteArrayView bytes, SheetCells& sheet);

// Rows covered by a merged label cell show the merged cell's label, as the sheet shows it beside them.
struct MergedCells {
    int row;
    int column;
    int lastRow;
};
void fillMergedLabels(const QVector<MergedCells>& merges, SheetCells& sheet);

// An attribute's value by its local name, whatever prefix the file gives it; with a namespace part, only
// in a namespace whose name holds it ("office" and "calcext" name two attributes "value-type").
QStringView attributeValue(const QXmlStreamAttributes& attributes, QStringView localName, QStringView inNamespace = {});

// Whether a number format code shows a date or time, and a date serial number as "2024-01-31".
bool isDateFormatCode(QStringView code);
bool isBuiltInDateFormat(int identifier);
QString serialDateText(double serial, bool from1904);

} // namespace spreadsheet::detail
