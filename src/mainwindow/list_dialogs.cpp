#include "list_dialogs.h"

#include "localization/translate.h"

namespace mainwindow {

using localization::translate;

namespace {

// The workbook types that both open dialogs offer after the Excel entry.
QString moreWorkbooksFilter()
{
    return QStringLiteral("|Excel 2007+ ") + translate("file") + QStringLiteral("(*.xlsx)|*.xlsx|") +
           translate("OpenDocument spreadsheet") + QStringLiteral("(*.ods)|*.ods|CSV ") + translate("file") +
           QStringLiteral("(*.csv)|*.csv");
}

// The file types of both save dialogs: one text file entry.
QString textFileFilter()
{
    return translate("Text file") + QStringLiteral("(*.txt)|*.txt");
}

QString projectFileFilter()
{
    return translate("Project file") + QStringLiteral("(*.dat)|*.dat");
}

// The stock list types of the remnant commands, which read and write text lines whatever the extension.
QString stockListFilter()
{
    return translate("Text file") + QStringLiteral("(*.txt)|*.txt|Pipe ") + translate("stock file") +
           QStringLiteral("(*.stk)|*.stk|Excel ") + translate("file") + QStringLiteral("(*.xls)|*.xls");
}

// "All supported files" first, with the patterns of every entry that follows.
QString withAllSupported(const QString& filter)
{
    const QStringList pieces = filter.split(u'|');
    QStringList patterns;
    for (qsizetype i = 1; i < pieces.size(); i += 2)
        for (const QString& pattern : pieces[i].split(u';'))
            if (!patterns.contains(pattern))
                patterns.append(pattern);
    return translate("All supported files") + QStringLiteral("|") + patterns.join(u';') + u'|' + filter;
}

} // namespace

FileDialogSetup partsSaveDialog()
{
    return {translate("Please select part file name save as"), textFileFilter()};
}

FileDialogSetup stocksSaveDialog()
{
    return {translate("Please select stock file name save as"), textFileFilter()};
}

FileDialogSetup partsOpenDialog()
{
    // Each translated word is joined between fixed pieces, which carry the blanks they need.
    const QString filter = translate("Text file") + QStringLiteral("(*.txt)|*.txt|SFCAD ") + translate("file") +
                           QStringLiteral("(*.nbt)|*.nbt|MST ") + translate("file") +
                           QStringLiteral("(*.txt)|*.txt|Pipe ") + translate("part file") +
                           QStringLiteral("(*.dst)|*.dst|Excel ") + translate("file") +
                           QStringLiteral("(*.xls)|*.xls") + moreWorkbooksFilter();
    return {translate("Please select open part file name"), withAllSupported(filter)};
}

FileDialogSetup stocksOpenDialog()
{
    return {translate("Please select open stock file name"),
            withAllSupported(stockListFilter() + moreWorkbooksFilter())};
}

FileDialogSetup layoutExportDialog()
{
    const QString filter = translate("Text file") + QStringLiteral("(*.txt)|*.txt|Excel ") + translate("file") +
                           QStringLiteral("(*.xls)|*.xls");
    return {translate("Please choose layouts file name save as"), filter};
}

FileDialogSetup projectSaveDialog()
{
    return {translate("Please choose project file name save as"), projectFileFilter(), QStringLiteral("dat")};
}

FileDialogSetup projectOpenDialog()
{
    return {translate("Please choose open project file name"), withAllSupported(projectFileFilter()),
            QStringLiteral("dat")};
}

FileDialogSetup leftStocksSaveDialog()
{
    return {translate("Please choose left stocks file name save as"), textFileFilter()};
}

FileDialogSetup remnantExportDialog()
{
    const QString filter = translate("Text file") + QStringLiteral("(*.txt)|*.txt|Pipe ") + translate("part file") +
                           QStringLiteral("(*.stk)|*.stk|Excel ") + translate("file") + QStringLiteral("(*.xls)|*.xls");
    return {translate("Please choose left stock file name save as"), filter};
}

FileDialogSetup remnantImportDialog()
{
    return {translate("Please choose open left stock file name"), withAllSupported(stockListFilter())};
}

int chosenFormat(document::ListKind kind, const FileChoice& choice)
{
    return choice.filterPosition <= 1 ? document::formatForPath(kind, choice.path) : choice.filterPosition - 1;
}

QStringList nameFilters(const QString& filter)
{
    const QStringList pieces = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        QString description = pieces[i].trimmed();
        QString patterns = pieces[i + 1].trimmed();
        patterns.replace(u';', u' ');
        // The descriptions already show their pattern; Qt wants it once, after a blank.
        const QString shown = QStringLiteral("(") + patterns + QStringLiteral(")");
        if (description.endsWith(shown))
            description = description.chopped(shown.size()).trimmed();
        filters.append(description + QStringLiteral(" ") + shown);
    }
    return filters;
}

} // namespace mainwindow
