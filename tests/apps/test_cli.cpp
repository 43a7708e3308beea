#include "apps/cli_fixture.h"
#include "support/gui_environment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The PDF needs fonts, and fonts a GUI application.
[[maybe_unused]] ::testing::Environment* const guiApplication = ::testing::AddGlobalTestEnvironment(new GuiApplication);

} // namespace

TEST_F(CliTest, PrintsTheLayoutExport)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\nB\t400\t4\r\nC\t250\t3\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\t12\tYes\r\n");
    const CliResult result = runCli({parts, stocks, "--display", "0"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.front(), QStringLiteral("No.\tLabel\tLength\tQty\tLeft Len\tCutting Layout\tLeft Lable"));
    EXPECT_TRUE(lines.back().startsWith("Total\t")) << lines.back().toStdString();
    for (const QString& line : lines)
        EXPECT_EQ(line.count(u'\t'), 6) << line.toStdString();
    EXPECT_TRUE(lines[1].startsWith("1\tBar\t1000\t4\t0\tA(600) B(400)")) << lines[1].toStdString();
    EXPECT_TRUE(result.out.endsWith("\r\n"));
}

TEST_F(CliTest, JsonHasPatternsTotalsAndStocks)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\nB\t400\t4\r\nC\t250\t3\r\n");
    const QString stocks = write("stocks.txt", "Long\t1000\t10\t12\tYes\r\nShort\t500\t5\t7\tYes\r\n");
    const QString exported = dir.filePath("out.txt");
    const CliResult result = runCli({parts, stocks, "--json", "--export", exported});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(result.out.toUtf8()).object();
    const QJsonArray patterns = root["patterns"].toArray();
    ASSERT_FALSE(patterns.isEmpty());
    const QJsonObject first = patterns[0].toObject();
    for (const char* key : {"no", "stockLabel", "stockLength", "qty", "leftLen", "layout", "leftLabel", "pieces"})
        EXPECT_TRUE(first.contains(QLatin1String(key))) << key;
    EXPECT_EQ(first["no"].toInt(), 1);
    int pieces = 0;
    double used = 0;
    for (const QJsonValue& value : patterns) {
        const QJsonObject pattern = value.toObject();
        used += pattern["stockLength"].toDouble() * pattern["qty"].toInt();
        for (const QJsonValue& piece : pattern["pieces"].toArray())
            pieces += piece.toObject()["count"].toInt() * pattern["qty"].toInt();
    }
    EXPECT_EQ(pieces, 11);
    const QJsonObject totals = root["totals"].toObject();
    EXPECT_DOUBLE_EQ(totals["usedLength"].toDouble(), used);
    EXPECT_GT(totals["ratio"].toDouble(), 0);
    const QJsonArray stockRows = root["stocks"].toArray();
    ASSERT_EQ(stockRows.size(), 2);
    EXPECT_EQ(stockRows[0].toObject()["label"].toString(), QStringLiteral("Long"));
    EXPECT_TRUE(root["seconds"].isDouble());
    EXPECT_TRUE(QFile::exists(exported));
    // Two stock lengths: the bound is in waste, and this small job is proven.
    const QJsonObject bound = root["bound"].toObject();
    EXPECT_TRUE(root["provenOptimal"].toBool());
    EXPECT_EQ(bound["measure"].toString(), QStringLiteral("waste"));
    EXPECT_EQ(bound["excess"].toDouble(), 0.0);
}

TEST_F(CliTest, ExitCodesSayWhatWentWrong)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const QString tooShort = write("short.txt", "Bar\t500\t10\r\n");
    const QString broken = write("broken.txt", "A\t600\r\n");
    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{parts, tooShort}, 1, "The max length of parts, is beyond the max length of stocks, can't optimize!"},
        {{parts, stocks, "--cost"}, 1, "The cost of stock must be input, can choose cost optimization!"},
        {{parts, stocks, "--blade", "x"}, 1, "The blade width must be a number of 0 or more, not \"x\"."},
        {{parts, dir.filePath("missing.txt")}, 2, "Cannot open file " + dir.filePath("missing.txt")},
        {{broken, stocks}, 2, "List index out of bounds (2)"},
        {{parts, stocks, "--quality", "13"}, 2, ""},
        {{parts}, 2, ""},
        {{parts, stocks, "--export", ""}, 2, "--export needs a file name."},
        {{parts, stocks, "--export", dir.filePath("./parts.txt")}, 2, "is one of the input files."},
        {{parts, stocks, "--export", dir.filePath("no-folder/out.txt")}, 3, "Cannot save file"},
    };
    for (const Case& c : cases) {
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.toStdString();
    }
}

TEST_F(CliTest, UsageErrorsAreToldInTheProgramsOwnWords)
{
    const QString parts = write("parts.txt", "A\t600\t4\r\n");
    const QString stocks = write("stocks.txt", "Bar\t1000\t10\r\n");
    const std::pair<QStringList, QString> cases[] = {
        {{parts, stocks, "--bogus", "extra"}, "Unexpected on the command line: --bogus extra; see --help."},
        {{parts, stocks, "--quality", "13"},
         "The value given to --quality is out of its range or not one of its choices; see --help."},
        {{parts, stocks, "--seed", "x"}, "The value given to --seed can't be read; see --help."},
        {{parts, stocks, "--seed", "7", "--time-limit"}, "--time-limit needs a value; see --help."},
    };
    for (const auto& [arguments, message] : cases) {
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, message + u'\n');
    }
}

TEST_F(CliTest, SameSeedSameLayouts)
{
    const QString parts = write("parts.txt", "A\t731\t9\r\nB\t517\t13\r\nC\t389\t11\r\nD\t113\t17\r\n");
    const QString stocks = write("stocks.txt", "Bar\t2000\t30\t10\tYes\r\nShort\t1300\t30\t8\tNo\r\n");
    // The remnant labels carry the minute of the run, so they are left out of the comparison.
    auto withoutLabels = [](const QString& out) {
        QStringList kept;
        for (const QString& line : out.split("\r\n"))
            kept << line.section(u'\t', 0, 5);
        return kept;
    };
    const CliResult first = runCli({parts, stocks, "--seed", "11", "--blade", "2"});
    const CliResult second = runCli({parts, stocks, "--seed", "11", "--blade", "2"});
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(withoutLabels(first.out), withoutLabels(second.out));
}

// The printed pages as PDF: as many pages as the layouts need, the texts searchable, the paper as asked.
TEST_F(CliTest, WritesThePrintedPagesAsPdf)
{
    auto tool = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    QByteArray partsText;
    // One piece per bar: a layout per part kind.
    for (int kind = 0; kind < 120; ++kind)
        partsText += "P" + QByteArray::number(kind) + "\t" + QByteArray::number(2001 + 7 * kind) + "\t1\r\n";
    const QString parts = write("parts.txt", partsText);
    const QString stocks = write("stocks.txt", "Bar\t4000\t200\t12\tYes\r\n");
    const QString pdf = dir.filePath("layouts.pdf");
    const CliResult result = runCli({parts, stocks, "--quality", "1", "--display", "0", "--pdf", pdf});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString info = tool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595 x 842"))) << info.toStdString();
    const QString text = tool("pdftotext", {"-layout", pdf, "-"});
    const int pages = int(text.count(QLatin1Char('\f')));
    EXPECT_GE(pages, 2) << text.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           %1").arg(pages))) << info.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("Barvik pipe cutting system - layouts preview")), pages);
    EXPECT_EQ(text.count(QStringLiteral("Total cost= ")), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("page: 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("print date: \\d{4}-\\d\\d-\\d\\d")));
    // Every layout of the export is on the pages.
    const CliResult exported = runCli({parts, stocks, "--quality", "1", "--display", "0"});
    const QRegularExpression piece("P\\d+\\(\\d+\\)");
    EXPECT_GT(exported.out.count(piece), 0);
    EXPECT_EQ(text.count(piece), exported.out.count(piece));

    const CliResult landscape =
        runCli({parts, stocks, "--quality", "1", "--pdf", pdf, "--page-size", "A5", "--orientation", "landscape"});
    ASSERT_EQ(landscape.exitCode, 0) << landscape.err.toStdString();
    EXPECT_TRUE(tool("pdfinfo", {pdf}).contains(QStringLiteral("(A5)")));
    EXPECT_TRUE(tool("pdfinfo", {pdf}).contains(QRegularExpression("Page size:\\s+595 x 420")));
    EXPECT_EQ(runCli({parts, stocks, "--pdf", parts}).exitCode, 2);

    // With the diagrams: a cutting list per layout after the table, every page under the title.
    ASSERT_EQ(runCli({parts, stocks, "--quality", "1", "--pdf", pdf, "--diagrams"}).exitCode, 0);
    const QString withDiagrams = tool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_GT(int(withDiagrams.count(QLatin1Char('\f'))), pages);
    EXPECT_EQ(withDiagrams.count(QStringLiteral("Cuts at: ")), 120);
    EXPECT_EQ(withDiagrams.count(QStringLiteral("Barvik pipe cutting system - layouts preview")),
              withDiagrams.count(QLatin1Char('\f')));
    EXPECT_EQ(runCli({parts, stocks, "--diagrams"}).exitCode, 2);

    // Under each row, with the cutting list after the table, and the list as text for the saw.
    const QString cuts = dir.filePath(QStringLiteral("cuts.txt"));
    const CliResult rows = runCli({parts, stocks, "--quality", "1", "--pdf", pdf, "--diagrams=rows", "--cut-list",
                                   "--cut-list-text", cuts, "--seed", "3"});
    ASSERT_EQ(rows.exitCode, 0) << rows.err.toStdString();
    const QString withRows = tool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_EQ(withRows.count(QStringLiteral("Cuts at: ")), 120);
    EXPECT_EQ(withRows.count(QStringLiteral("Cutting list for the saw")), 1);
    QFile cutsFile(cuts);
    ASSERT_TRUE(cutsFile.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(cutsFile.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    // One piece per bar and something left of it: one cut per layout.
    ASSERT_EQ(lines.size(), 1 + 120);
    const QStringList first = lines[1].split(u'\t');
    ASSERT_EQ(first.size(), 8) << lines[1].toStdString();
    EXPECT_EQ(first.mid(2, 3), (QStringList{"Bar", "4000", "1"}));
    EXPECT_EQ(first[5], first[7]); // the one cut falls at the piece's end
    EXPECT_EQ(runCli({parts, stocks, "--pdf", pdf, "--diagrams=beside"}).exitCode, 2);
}

TEST_F(CliTest, WorkbooksByExtensionOrByFormatName)
{
    const QString data = QStringLiteral(BARVIK_TEST_DATA "/spreadsheets/");
    QFile::copy(data + "job_parts.ods", dir.filePath("parts.dat"));
    auto layouts = [](const CliResult& result) {
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QStringList kept;
        for (const QString& line : result.out.split("\r\n"))
            kept << line.section(u'\t', 0, 5);
        return kept;
    };
    const QStringList text = layouts(runCli({data + "job_parts.txt", data + "job_stocks.txt"}));
    EXPECT_EQ(layouts(runCli({data + "job_parts.xlsx", data + "job_stocks.csv"})), text);
    EXPECT_EQ(layouts(runCli({dir.filePath("parts.dat"), data + "job_stocks.xls", "--parts-format", "ods"})), text);
    const CliResult damaged = runCli({data + "job_parts.txt", data + "damaged.xls", "--stocks-format", "xlsx"});
    EXPECT_EQ(damaged.exitCode, 2);
    EXPECT_EQ(damaged.err.trimmed(), data + "damaged.xls can't be read: it is damaged");
}
