// The desktop program: the main window, optionally with a job's lists loaded and calculated at once.

#include "mainwindow/deruruvi.h"
#include "lists/list_files.h"
#include "mainwindow/widgets/qt_user_dialogs.h"

#include "localization/translate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("barvik"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(localization::translate("Barvik pipe cutting system"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption partsOption(QStringLiteral("parts"), QStringLiteral("Open a parts list (text file)."),
                                         QStringLiteral("file"));
    const QCommandLineOption stocksOption(QStringLiteral("stocks"), QStringLiteral("Open a stocks list (text file)."),
                                          QStringLiteral("file"));
    const QCommandLineOption calcOption(QStringLiteral("calc"),
                                        QStringLiteral("Press \"Calc\" once the window shows."));
    parser.addOptions({partsOption, stocksOption, calcOption});
    parser.process(app);

    mainwindow::widgets::QtUserDialogs dialogs;
    mainwindow::TfrmMain window(dialogs);
    dialogs.setWindow(&window);
    window.show();
    // The lists load into the shown window, so that a load error's box stands over it.
    if (parser.isSet(partsOption))
        window.openPartsFile(QFileInfo(parser.value(partsOption)).absoluteFilePath(), lists::kPartsText);
    if (parser.isSet(stocksOption))
        window.openStocksFile(QFileInfo(parser.value(stocksOption)).absoluteFilePath(), lists::kStocksText);
    if (parser.isSet(calcOption))
        QTimer::singleShot(0, &window, &mainwindow::TfrmMain::btnCalcClick);

    try {
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, window.windowTitle(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
