#include "calculated.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "files/file_replacement.h"
#include "number_formats.h"
#include "package_support.h"
#include "results/recalculation.h"
#include "table_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <csignal>
#include <map>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

namespace kolmaris {
namespace {

using test_support::english;
using test_support::german;

using test_support::sampleResults;
using Kind = WorkbookError::Kind;

struct SheetCell {
    QString type;
    int style = 0;
    QString value;
};

// The cells of a sheet part by reference, read with nothing but the XML parser.
std::map<QString, SheetCell> sheetCells(const QByteArray& xml) {
    std::map<QString, SheetCell> cells;
    QXmlStreamReader reader(xml);
    QString ref;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("c")) {
            ref = reader.attributes().value("r").toString();
            cells[ref] = {reader.attributes().value("t").toString(),
                          reader.attributes().value("s").toInt(),
                          {}};
        } else if (reader.isStartElement() && reader.name() == QLatin1String("v")) {
            cells[ref].value = reader.readElementText();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return cells;
}

// The number format code of each cell style index.
std::vector<QString> styleFormats(const QByteArray& xml) {
    std::map<int, QString> codes = {{0, "General"}, {1, "0"}, {2, "0.00"}};
    std::vector<QString> formats;
    QXmlStreamReader reader(xml);
    bool inCellXfs = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("numFmt")) {
            codes[reader.attributes().value("numFmtId").toInt()] =
                reader.attributes().value("formatCode").toString();
        } else if (reader.name() == QLatin1String("cellXfs")) {
            inCellXfs = reader.isStartElement();
        } else if (inCellXfs && reader.isStartElement() && reader.name() == QLatin1String("xf")) {
            formats.push_back(codes[reader.attributes().value("numFmtId").toInt()]);
        }
    }
    return formats;
}

std::vector<QString> sharedStrings(const QByteArray& xml) {
    std::vector<QString> strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("t")) {
            strings.push_back(reader.readElementText());
        }
    }
    return strings;
}

// Switches the process's numeric locale for one test and puts the old one back.
class NumericLocale {
public:
    explicit NumericLocale(const char* name) : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        ok_ = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    bool ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

void checkWrittenFile(const NumberFormat& format) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kolmaris-Ergebnisse.xlsx");
    writeResultsWorkbook(sampleResults, format, path.toStdString());

    const auto parts = test_support::unzipFile(path);
    ASSERT_TRUE(parts.count("xl/worksheets/sheet1.xml"));
    const auto cells = sheetCells(parts.at("xl/worksheets/sheet1.xml"));
    const auto formats = styleFormats(parts.at("xl/styles.xml"));
    const auto strings = sharedStrings(parts.at("xl/sharedStrings.xml"));

    auto text = [&](const char* ref) {
        const SheetCell& c = cells.at(ref);
        EXPECT_EQ(c.type, "s") << ref;
        return strings.at(c.value.toUInt()).toStdString();
    };
    EXPECT_EQ(text("A1"), "        Nr.");
    EXPECT_EQ(text("F1"), "    Lamda");
    EXPECT_EQ(text("C2"), "   [Pascal]");
    EXPECT_EQ(cells.count("A2"), 0u);

    // The values the table shows, each with its column's pattern, compared as numbers.
    const std::map<QString, std::pair<double, QString>> expected = {
        {"A3", {1, "0"}},          {"B3", {1.23, "0.00"}},       {"C3", {45.67, "0.00"}},
        {"D3", {1234.57, "0.00"}}, {"E3", {15433, "0"}},         {"F3", {0.02346, "0.00000"}},
        {"B4", {0.13, "0.00"}},    {"C4", {3, "0.00"}},          {"D4", {1234567.89, "0.00"}},
        {"E4", {3, "0"}},          {"F4", {0.00001, "0.00000"}}, {"A5", {3, "0"}},
        {"B5", {-2.1, "0.00"}},    {"D5", {99999.99, "0.00"}},   {"E5", {10000000, "0"}},
    };
    static const QRegularExpression cNumber("^-?[0-9]+(\\.[0-9]+)?(E[-+][0-9]+)?$");
    for (const auto& [ref, value] : expected) {
        ASSERT_TRUE(cells.count(ref)) << ref.toStdString();
        const SheetCell& c = cells.at(ref);
        EXPECT_TRUE(c.type.isEmpty() || c.type == "n") << ref.toStdString();
        EXPECT_TRUE(cNumber.match(c.value).hasMatch()) << c.value.toStdString();
        EXPECT_NEAR(c.value.toDouble(), value.first, std::abs(value.first) * 1e-15)
            << ref.toStdString() << " " << c.value.toStdString();
        ASSERT_LT(static_cast<std::size_t>(c.style), formats.size());
        EXPECT_EQ(formats[static_cast<std::size_t>(c.style)], value.second) << ref.toStdString();
    }
    EXPECT_EQ(cells.count("A6"), 0u);
}

TEST(WriteWorkbook, WritesShownValuesAsNumbersWithTheirPatterns) {
    checkWrittenFile(english);
    checkWrittenFile(german);
}

// The check calculation stands beside each result with inputs, as numbers under their headers,
// and reading the workbook back ignores it.
TEST(WriteWorkbook, WritesTheCheckBesideTheResultsAndReadsThemBackWithoutIt) {
    using namespace exchange_detail;
    std::vector<ResultValues> results = {
        test_support::calculatedFrom({50, 100, 10, 20, Medium::Water, Material::BlackIron}),
        test_support::calculatedFrom({50, 100, 10, 20, Medium::NaturalGas, Material::BlackIron}),
        sampleResults[0], // no inputs, so no check
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("Kolmaris-Ergebnisse.xlsx");
    writeResultsWorkbook(results, german, path.toStdString());
    const auto parts = test_support::unzipFile(path);
    const auto cells = sheetCells(parts.at("xl/worksheets/sheet1.xml"));
    const auto strings = sharedStrings(parts.at("xl/sharedStrings.xml"));
    const auto at = [&](int row, InputColumn col) {
        const auto cell = cells.find(QString::fromStdString(cellName(row, firstInputCol + col)));
        return cell == cells.end() ? QString() : cell->second.value;
    };
    EXPECT_EQ(strings.at(at(0, CheckLambda).toUInt()), "λ exakt");
    EXPECT_EQ(strings.at(at(1, IapwsViscosity).toUInt()), "[mm²/s]");
    const auto water = checkOf(results[0]);
    ASSERT_TRUE(water && water->iapws);
    EXPECT_EQ(at(2, CheckLambda).toDouble(), water->programProperties->lambda.value);
    EXPECT_EQ(at(2, IapwsLoss).toDouble(), water->iapws->lossPerMetre.value);
    EXPECT_EQ(at(2, IapwsLossDeviation).toDouble(), water->iapws->lossPerMetre.deviation);
    EXPECT_NE(at(3, CheckLoss), "") << "every medium gets the exact λ";
    EXPECT_EQ(at(3, IapwsDensity), "") << "IAPWS is for water only";
    EXPECT_EQ(at(4, CheckLambda), "");

    const WorkbookResults read = readResultsWorkbook(path.toStdString());
    ASSERT_EQ(read.results.size(), results.size());
    EXPECT_TRUE(read.leftOut.empty());
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(read.results[i].origin, results[i].origin) << i;
    }
}

TEST(WriteWorkbook, WritesDecimalPointsUnderAGermanNumericLocale) {
    NumericLocale locale("de_DE.UTF-8");
    if (!locale.ok()) {
        GTEST_SKIP() << "locale de_DE.UTF-8 missing (scripts/install-deps.sh generates it)";
    }
    checkWrittenFile(german);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8");
}

TEST(WriteWorkbook, NewFileGetsTheUsualModeAndAReplacedOneKeepsItsMode) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.xlsx").toStdString();
    const mode_t mask = ::umask(022);
    writeResultsWorkbook(sampleResults, english, path);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    ::chmod(path.c_str(), 0640);
    writeResultsWorkbook(sampleResults, english, path);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    ::umask(mask);
}

// The failure a write raises; the headline is the same for every cause.
WorkbookError writeFailure(const std::vector<ResultValues>& results, const std::string& path) {
    try {
        writeResultsWorkbook(results, german, path);
    } catch (const WorkbookError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Die Tabelle kann nicht gespeichert werden.\r\n", 0),
                  0u);
        return e;
    }
    ADD_FAILURE() << "wrote " << path;
    return WorkbookError(Kind::CannotWrite, "");
}

TEST(WriteWorkbook, ReportsBadTargetsInGerman) {
    QTemporaryDir dir;
    const auto& table = sampleResults;

    const auto missing = writeFailure(table, dir.filePath("fehlt/a.xlsx").toStdString());
    EXPECT_EQ(missing.kind(), Kind::CannotWrite);
    EXPECT_NE(std::string(missing.what()).find("Den Ordner gibt es nicht."), std::string::npos);

    ASSERT_TRUE(QDir(dir.path()).mkdir("ordner.xlsx"));
    const auto folder = writeFailure(table, dir.filePath("ordner.xlsx").toStdString());
    EXPECT_NE(std::string(folder.what()).find("schon einen Ordner"), std::string::npos);
    EXPECT_TRUE(QFileInfo(dir.filePath("ordner.xlsx")).isDir());

    EXPECT_EQ(writeFailure(table, dir.path().toStdString() + "/").kind(), Kind::CannotWrite);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(WriteWorkbook, RefusesValuesThatAreNoNumbersAndMoreResultsThanTheTableHolds) {
    QTemporaryDir dir;
    auto results = sampleResults;
    results[0].velocity = std::nan("");
    const auto e = writeFailure(results, dir.filePath("a.xlsx").toStdString());
    EXPECT_EQ(e.kind(), Kind::TableUnusable);
    EXPECT_NE(std::string(e.what()).find("Zelle B3"), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.xlsx")));

    const std::vector<ResultValues> tooMany(maxResults + 1, sampleResults[0]);
    EXPECT_EQ(writeFailure(tooMany, dir.filePath("a.xlsx").toStdString()).kind(),
              Kind::TableUnusable);
}

// Raises the file-size limit back when the test ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, SIG_IGN); // writes fail with EFBIG instead of ending the process
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit previous_{};
};

TEST(WriteWorkbook, AFailedWriteLeavesTheOlderFileAndNoDebris) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kolmaris-Ergebnisse.xlsx");
    writeResultsWorkbook({sampleResults[0]}, german, path.toStdString());
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray good = old.readAll();
    old.close();

    // A disk that fills up halfway through the workbook: root ignores permissions, not this.
    // The cause reaches the message from the write that failed.
    {
        FileSizeLimit limit(1500);
        const auto e = writeFailure(sampleResults, path.toStdString());
        EXPECT_EQ(e.kind(), Kind::CannotWrite);
        EXPECT_NE(
            std::string(e.what()).find("größer, als dieser Datenträger oder das System erlaubt"),
            std::string::npos)
            << e.what();
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), good);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Kolmaris-Ergebnisse.xlsx"});
    EXPECT_EQ(readResultsWorkbook(path.toStdString()).results.size(), 1u);
}

TEST(WriteWorkbook, AFullDiskIsNamedAsSuch) {
    try {
        writeBytes("/dev/full", "PK", 2); // full whatever is written
        ADD_FAILURE() << "wrote to a full disk";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::CannotWrite);
        EXPECT_EQ(std::string(e.what()), "Auf dem Datenträger ist nicht genug Platz.");
    }
}

} // namespace
} // namespace kolmaris
