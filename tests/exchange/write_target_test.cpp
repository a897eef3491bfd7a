#include "exchange/workbook.h"
#include "number_formats.h"
#include "table_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace kolmaris {
namespace {

using test_support::german;

using test_support::sampleResults;

constexpr uid_t nobody = 65534;

void write(const std::string& path) {
    writeResultsWorkbook(sampleResults, german, path);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct stat statOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

TEST(WriteTarget, WritesThroughLinksDanglingOrNotAndKeepsTheMode) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("daten"));
    const QString target = dir.filePath("daten/ergebnisse.xlsx");
    const QString link = dir.filePath("link.xlsx");
    ASSERT_EQ(::symlink("daten/ergebnisse.xlsx", QFile::encodeName(link).constData()), 0);

    write(link.toStdString()); // dangling: the file comes into being where the link points
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(target).isFile());
    EXPECT_EQ(readResultsWorkbook(link.toStdString()).results.size(), sampleResults.size());

    ::chmod(QFile::encodeName(target).constData(), 0604);
    write(link.toStdString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(statOf(target).st_mode & 07777, 0604u);
    // The temporary file went to the target's folder, and nothing is left of it anywhere.
    EXPECT_EQ(QDir(dir.filePath("daten")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"ergebnisse.xlsx"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"link.xlsx"});
}

// Runs the write helper as nobody in a folder nobody owns, as an ordinary user saving into
// their own folder. Root ignores permission bits, so these cases need the switch of user.
class WriteAsUser : public ::testing::Test {
protected:
    void SetUp() override {
        setpriv_ = QStandardPaths::findExecutable("setpriv");
        if (::geteuid() != 0 || setpriv_.isEmpty()) {
            GTEST_SKIP() << "needs root and setpriv to act as another user";
        }
        char pattern[] = "/tmp/kolmaris-user-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_EQ(::chown(pattern, nobody, nobody), 0);
        ASSERT_EQ(::chmod(pattern, 0755), 0);
        helper_ = folder_ + "/write_helper";
        ASSERT_TRUE(QFile::copy(KOLMARIS_WRITE_HELPER, helper_));
        ::chmod(QFile::encodeName(helper_).constData(), 0755);
    }
    void TearDown() override {
        if (!folder_.isEmpty()) {
            QDir(folder_).removeRecursively();
        }
    }

    // The helper's message, "" when it wrote the file.
    std::string writeAsNobody(const QString& path) {
        QProcess process;
        process.start(setpriv_,
                      {"--reuid=65534", "--regid=65534", "--clear-groups", helper_, path});
        EXPECT_TRUE(process.waitForFinished(20000));
        return process.readAllStandardOutput().toStdString();
    }

    // A file with old content, its owner and mode.
    QString existing(const char* name, uid_t owner, mode_t mode) {
        const QString path = folder_ + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("alt");
        file.close();
        ::chown(QFile::encodeName(path).constData(), owner, owner);
        ::chmod(QFile::encodeName(path).constData(), mode);
        return path;
    }

    QString setpriv_;
    QString folder_;
    QString helper_;
};

TEST_F(WriteAsUser, RefusesWhatTheUserMayNotReplaceAndKeepsOwnerAndMode) {
    struct Case {
        const char* name;
        uid_t owner;
        mode_t mode;
        const char* refusal; // nullptr: replaced
    };
    const Case cases[] = {
        {"schreibgeschuetzt.xlsx", nobody, 0444, "fehlt die Schreibberechtigung"},
        {"fremd.xlsx", 0, 0644, "fehlt die Schreibberechtigung"},
        {"fremd-beschreibbar.xlsx", 0, 0666, "einem anderen Benutzer"},
        {"eigen.xlsx", nobody, 0640, nullptr},
    };
    for (const Case& c : cases) {
        const QString path = existing(c.name, c.owner, c.mode);
        const std::string message = writeAsNobody(path);
        if (c.refusal == nullptr) {
            EXPECT_EQ(message, "") << c.name;
            EXPECT_NE(contentOf(path), "alt") << c.name;
        } else {
            EXPECT_NE(message.find(c.refusal), std::string::npos) << c.name << ": " << message;
            EXPECT_EQ(contentOf(path), "alt") << c.name;
        }
        EXPECT_EQ(statOf(path).st_uid, c.owner) << c.name;
        EXPECT_EQ(statOf(path).st_mode & 07777, c.mode) << c.name;
    }
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden).size(), 5); // no debris
}

TEST_F(WriteAsUser, RootReplacingAUsersFileLeavesItTheirs) {
    const QString path = existing("nutzer.xlsx", nobody, 0600);
    write(path.toStdString());
    EXPECT_NE(contentOf(path), "alt");
    EXPECT_EQ(statOf(path).st_uid, nobody);
    EXPECT_EQ(statOf(path).st_gid, nobody);
    EXPECT_EQ(statOf(path).st_mode & 07777, 0600u);
}

} // namespace
} // namespace kolmaris
