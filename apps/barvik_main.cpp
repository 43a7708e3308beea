// The desktop program: the main window, optionally with a project or a job's lists loaded and calculated at
// once.

#include "desktop/message_box.h"
#include "lists/list_files.h"
#include "mainwindow/deruruvi.h"
#include "mainwindow/widgets/qt_user_dialogs.h"

#include "localization/translate.h"

#include "build_info.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    // A file-size limit and a pipe whose reader has gone are failed saves that the window reports.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("barvik"));
    QApplication::setApplicationVersion(QLatin1String(buildinfo::kVersion));
    // The desktop matches the window to its menu entry by this name, and finds the installed icon by it.
    QApplication::setDesktopFileName(QLatin1String(buildinfo::kAppId));
    // The installed icon of the desktop's theme, else the program's own.
    QIcon ownIcon;
    for (int size : {16, 32, 48, 64, 128, 256})
        ownIcon.addFile(QStringLiteral(":/icons/barvik-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QLatin1String(buildinfo::kAppId), ownIcon));

    QCommandLineParser parser;
    parser.setApplicationDescription(localization::translate("Barvik pipe cutting system"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption partsOption(QStringLiteral("parts"), QStringLiteral("Open a parts list (text file)."),
                                         QStringLiteral("file"));
    const QCommandLineOption stocksOption(QStringLiteral("stocks"), QStringLiteral("Open a stocks list (text file)."),
                                          QStringLiteral("file"));
    const QCommandLineOption importLeftOption(QStringLiteral("import-left"),
                                              QStringLiteral("Append a remnant stock list to the stocks, as Imp Left."),
                                              QStringLiteral("file"));
    const QCommandLineOption calcOption(QStringLiteral("calc"),
                                        QStringLiteral("Press \"Calc\" once the window shows."));
    const QCommandLineOption recoverOption(
        QStringLiteral("recover"),
        QStringLiteral("Restore the job that a run which ended without saving left behind, without asking."));
    parser.addOptions({partsOption, stocksOption, importLeftOption, calcOption, recoverOption});
    parser.addPositionalArgument(
        QStringLiteral("project"),
        QStringLiteral("Open a project file (.dat); --parts and --stocks then replace its lists."),
        QStringLiteral("[project]"));
    parser.process(app);
    const QStringList projects = parser.positionalArguments();
    if (projects.size() > 1)
        parser.showHelp(2);
    // Checked before the window shows: the window itself opens projects without a word about failures.
    const QString project = projects.isEmpty() ? QString() : QFileInfo(projects.first()).absoluteFilePath();
    if (!project.isEmpty() && !QFileInfo(project).isFile()) {
        std::fprintf(
            stderr, "%s\n",
            localization::translate("There is no project file %1.").arg(projects.first()).toLocal8Bit().constData());
        return 2;
    }

    mainwindow::widgets::QtUserDialogs dialogs;
    calculation::Clock clock;
    // The optimizer's random source, seeded from the clock.
    optimizer::RandomSource random(uint32_t(QDateTime::currentSecsSinceEpoch()));
    mainwindow::TfrmMain window(dialogs, clock, random);
    dialogs.setWindow(&window);
    window.show();
    // A job that a run which ended without saving left behind comes first.
    window.offerLeftJob(!parser.isSet(recoverOption));
    // The lists load into the shown window, so that a load error's box stands over it.
    if (!project.isEmpty())
        window.LoadProject(project);
    // The rest once the project's workbooks, read off the user-interface thread, are in.
    window.afterReads([&] {
        if (parser.isSet(partsOption))
            window.openPartsFile(QFileInfo(parser.value(partsOption)).absoluteFilePath(), lists::kPartsText);
        if (parser.isSet(stocksOption))
            window.openStocksFile(QFileInfo(parser.value(stocksOption)).absoluteFilePath(), lists::kStocksText);
        for (const QString& path : parser.values(importLeftOption))
            window.importLeftStocks(QFileInfo(path).absoluteFilePath());
        if (parser.isSet(calcOption))
            QTimer::singleShot(0, &window, &mainwindow::TfrmMain::btnCalcClick);
    });

    try {
        return QApplication::exec();
    } catch (const std::exception&) {
        // The library's own words would tell a planner nothing.
        desktop::showMessageBox(nullptr, localization::translate("The program met an unexpected error and must close."),
                                calculation::MessageIcon::Error);
        return 1;
    }
}
