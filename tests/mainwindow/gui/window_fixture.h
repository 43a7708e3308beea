#pragma once

#include "scripted_dialogs.h"

#include "calculation/grid_model.h"
#include "localization/language_settings.h"
#include "mainwindow/deruruvi.h"
#include "mainwindow/widgets/file_name_field.h"
#include "mainwindow/widgets/grid_view.h"
#include "mainwindow/widgets/window_state.h"
#include "optimizer/random_source.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>
#include <memory>

// Writes a file for a test and returns its path.
inline QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// A shown main window with scripted dialogs, and access to its controls by their names. Its settings (the
// language, the window's size and place) go to a folder of the fixture's own.
struct WindowFixture {
    ScriptedDialogs dialogs;
    // The clock, and a seeded random source: the same plan every time.
    calculation::Clock clock;
    optimizer::RandomSource random{20240501};
    std::unique_ptr<mainwindow::TfrmMain> window;
    QTemporaryDir settingsFolder;
    // False for a test that sets the settings file itself.
    bool ownSettings = true;

    bool open()
    {
        dialogs.reset();
        QLocale::setDefault(QLocale::c());
        if (ownSettings)
            localization::setSettingsFile(settingsFolder.filePath(QStringLiteral("rodplan.db")));
        // The recovery files in a configuration folder of the fixture's own.
        qputenv("XDG_CONFIG_HOME", settingsFolder.filePath(QStringLiteral("config")).toLocal8Bit());
        // Every window starts at the size of a first run.
        QFile::remove(mainwindow::widgets::windowStateFile());
        window = std::make_unique<mainwindow::TfrmMain>(dialogs, clock, random);
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename Control> Control* find(const char* name) const
    {
        return window->findChild<Control*>(QString::fromLatin1(name));
    }

    mainwindow::widgets::GridView* view(const char* name) const { return find<mainwindow::widgets::GridView>(name); }

    calculation::GridModel* grid(const char* name) const
    {
        return qobject_cast<calculation::GridModel*>(view(name)->model());
    }

    // Writes data rows from row 2 on and ends the grid after them.
    static void fill(calculation::GridModel& grid, std::initializer_list<QStringList> rows)
    {
        grid.setRows(calculation::GridModel::kFirstDataRow + int(rows.size()));
        int row = calculation::GridModel::kFirstDataRow;
        for (const QStringList& cells : rows) {
            for (int column = 0; column < cells.size(); ++column)
                grid.setCell(column, row, cells[column]);
            ++row;
        }
    }

    // Makes a cell current and gives its grid the keyboard.
    void focusCell(const char* viewName, int row, int column) const
    {
        mainwindow::widgets::GridView* grid = view(viewName);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
    }

    // The editor open on the current cell of a grid, if any.
    QWidget* editor(const char* viewName) const
    {
        mainwindow::widgets::GridView* grid = view(viewName);
        return grid->indexWidget(grid->currentIndex());
    }
};
