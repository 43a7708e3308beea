#include "document/project_file.h"

#include "calculation/number_text.h"
#include "document/list_file.h"
#include "localization/translate.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace document {

using calculation::GridModel;
using lists::FileResult;
using localization::translate;

namespace {

constexpr int kProjectLines = 15;

// What each step restores, as the failure message names it.
QString stepName(ProjectStep step)
{
    switch (step) {
    case ProjectStep::PartsList:
        return translate("the parts list");
    case ProjectStep::StocksList:
        return translate("the stocks list");
    case ProjectStep::Quality:
        return translate("the quality level");
    case ProjectStep::Change:
        return translate("Change Optimization");
    case ProjectStep::Cost:
        return translate("Cost Optimization");
    case ProjectStep::Lengths:
        return translate("the blade width, stub length and reuse length");
    case ProjectStep::Format:
        return translate("the number format");
    case ProjectStep::Texts:
        return translate("the length unit and title");
    case ProjectStep::Choices:
        return translate("the display and print choices");
    case ProjectStep::Exact:
        return translate("Exact Search");
    case ProjectStep::Times:
    case ProjectStep::Done:
        break;
    }
    return translate("the quantity multiplier");
}

// Restores the steps one after the other and keeps the first failure.
class ProjectReader {
public:
    ProjectReader(const QString& path, const QStringList& lines, ProjectLoad& load, const ListReader& read)
        : m_path(path), m_lines(lines), m_load(load), m_read(read)
    {
    }

    // The text of a 1-based line for the current step.
    std::optional<QString> text(int line)
    {
        if (line <= m_lines.size())
            return m_lines[line - 1];
        return fail(line, translate("the file ends before this line, which holds %1").arg(stepName(m_load.reached)));
    }

    std::optional<int> integer(int line)
    {
        const std::optional<QString> value = text(line);
        if (!value)
            return std::nullopt;
        if (const std::optional<int32_t> number = calculation::parseInteger(*value))
            return *number;
        return fail(
            line,
            translate("%1 \"%2\" is not a whole number").arg(stepName(m_load.reached), calculation::excerpt(*value)));
    }

    bool list(int line, QString& path, GridModel& grid, bool parts)
    {
        const std::optional<QString> written = text(line);
        if (!written)
            return false;
        path = resolveListPath(*written, m_path);
        const ListKind kind = parts ? ListKind::Parts : ListKind::Stocks;
        const FileResult loaded = m_read(grid, kind, path, formatForPath(kind, path));
        if (!loaded.ok) {
            const QString what = parts ? translate("the parts list %1 can't be read: %2")
                                       : translate("the stocks list %1 can't be read: %2");
            fail(line, what.arg(path, loaded.message()));
            return false;
        }
        if (!loaded.notice.isEmpty())
            m_notices.append(loaded.notice);
        return true;
    }

    int lineCount() const { return int(m_lines.size()); }

    // The step is restored; the next one begins.
    void next() { m_load.reached = ProjectStep(int(m_load.reached) + 1); }

    void finish()
    {
        m_load.result.notice = m_notices.join(u'\n');
        m_load.result.file = m_path;
    }

private:
    std::nullopt_t fail(int line, const QString& what)
    {
        QStringList restored;
        for (int step = 0; step < int(m_load.reached); ++step)
            restored.append(stepName(ProjectStep(step)));
        const QString before = restored.isEmpty() ? translate("Nothing was restored.")
                                                  : translate("Restored before it: %1.").arg(restored.join(u", "));
        m_load.result = lists::fileFailure(what + u'\n' + before, m_path, line);
        return std::nullopt;
    }

    QString m_path;
    QStringList m_lines;
    ProjectLoad& m_load;
    const ListReader& m_read;
    QStringList m_notices;
};

// The steps after the two lists: false at the first that fails.
bool readSettings(ProjectReader& reader, ProjectSettings& settings)
{
    const std::optional<int> quality = reader.integer(3);
    if (!quality)
        return false;
    settings.quality = *quality == 0 ? 3 : *quality;
    reader.next();
    const std::optional<int> change = reader.integer(4);
    if (!change)
        return false;
    settings.change = *change != 0;
    reader.next();
    const std::optional<int> cost = reader.integer(5);
    if (!cost)
        return false;
    settings.cost = *cost != 0;
    reader.next();
    const std::optional<QString> blade = reader.text(6);
    const std::optional<QString> stub = blade ? reader.text(7) : std::nullopt;
    const std::optional<QString> reuse = stub ? reader.text(8) : std::nullopt;
    if (!reuse)
        return false;
    settings.blade = *blade;
    settings.stub = *stub;
    settings.reuse = *reuse;
    reader.next();
    const std::optional<int> format = reader.integer(9);
    if (!format)
        return false;
    settings.format = *format;
    reader.next();
    const std::optional<QString> unit = reader.text(10);
    const std::optional<QString> title = unit ? reader.text(11) : std::nullopt;
    if (!title)
        return false;
    settings.unit = *unit;
    settings.title = *title;
    reader.next();
    const std::optional<int> display = reader.integer(12);
    const std::optional<int> print = display ? reader.integer(13) : std::nullopt;
    if (!print)
        return false;
    settings.display = *display;
    settings.print = *print;
    reader.next();
    const std::optional<QString> times = reader.text(14);
    if (!times)
        return false;
    settings.times = *times;
    reader.next();
    if (reader.lineCount() >= 15) {
        const std::optional<int> exact = reader.integer(15);
        if (!exact)
            return false;
        settings.exact = *exact != 0;
    }
    reader.next();
    return true;
}

} // namespace

QStringList projectLines(const ProjectSettings& settings)
{
    auto flag = [](bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); };
    const QStringList lines = {settings.partFile,
                               settings.stockFile,
                               QString::number(settings.quality),
                               flag(settings.change),
                               flag(settings.cost),
                               settings.blade,
                               settings.stub,
                               settings.reuse,
                               QString::number(settings.format),
                               settings.unit,
                               settings.title,
                               QString::number(settings.display),
                               QString::number(settings.print),
                               settings.times,
                               flag(settings.exact)};
    Q_ASSERT(lines.size() == kProjectLines);
    return lines;
}

FileResult projectLineBreak(const ProjectSettings& settings, const QString& path)
{
    // Each value has a line of its own: a line break inside one would shift every value after it, and the
    // project would no longer open.
    for (QString line : projectLines(settings))
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            return lists::fileFailure(
                translate("%1 was not saved: \"%2\" holds a line break, which a project can't keep.")
                    .arg(
                        path,
                        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '))),
                path);
    return {};
}

FileResult SaveProjectFile(const ProjectSettings& settings, const QString& path)
{
    if (FileResult refused = projectLineBreak(settings, path); !refused.ok)
        return refused;
    return lists::writeTextLines(path, projectLines(settings));
}

ProjectLoad LoadProjectFile(const QString& path, GridModel& parts, GridModel& stocks, ProjectLists lists,
                            const ListReader& read)
{
    ProjectLoad load;
    QStringList lines;
    load.result = lists::readTextLines(path, lines);
    if (!load.result.ok)
        return load;
    if (lines.isEmpty()) {
        load.result = lists::fileFailure(translate("%1 holds no project: the file is empty.").arg(path), path);
        return load;
    }
    ProjectReader reader(path, lines, load, read);
    auto listStep = [&](int line, QString& file, GridModel& grid, bool isParts, bool loaded) {
        if (loaded)
            return reader.list(line, file, grid, isParts);
        const std::optional<QString> written = reader.text(line);
        file = written.value_or(QString());
        return written.has_value();
    };
    if (listStep(1, load.settings.partFile, parts, true, lists.parts)) {
        reader.next();
        if (listStep(2, load.settings.stockFile, stocks, false, lists.stocks)) {
            reader.next();
            readSettings(reader, load.settings);
        }
    }
    reader.finish();
    return load;
}

QStringList projectListPaths(const QString& path)
{
    QStringList lines;
    if (!lists::readTextLines(path, lines).ok)
        return {};
    QStringList paths;
    for (int line = 0; line < std::min(2, int(lines.size())); ++line)
        paths.append(resolveListPath(lines[line], path));
    return paths;
}

QString resolveListPath(const QString& listPath, const QString& projectPath)
{
    if (listPath.isEmpty() || QFileInfo::exists(listPath))
        return listPath;
    // Paths written on another system may use either separator.
    const QString name = listPath.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    const QString beside = QFileInfo(projectPath).dir().filePath(name);
    return !name.isEmpty() && QFileInfo(beside).isFile() ? beside : listPath;
}

} // namespace document
