#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "platform/page_output.h"
#include "platform/qt_printer.h"
#include "settings/desk_config.h"
#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/store_fixture.h"
#include "support/fixed_clock.h"

namespace {

// What the program creates holds patients' names: its owner's alone even under a umask that
// lets everyone read and write, as some sessions have. What exists keeps its owner's mode.
class PrivateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        m_savedUmask = ::umask(0);
    }
    void TearDown() override { ::umask(m_savedUmask); }

    static unsigned modeOf(const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
        return status.st_mode & 0777;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void write(const QString& at, const QByteArray& content) {
        QFile file(at);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QByteArray contentOf(const QString& at) {
        QFile file(at);
        return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
    }

    // The database at path stores a receipt; the mode of its journal while the save is written.
    static unsigned journalModeOfASave(const QString& path) {
        store::Database database(path);
        QString error;
        EXPECT_TRUE(database.prepare(&error)) << error.toStdString();
        unsigned mode = 0;
        database.engine().transact(QStringLiteral("MZY:1"), [&](storage::RecordWriter& writer) {
            writer.insert(store::receiptSchema(),
                          store_test::receipt(QStringLiteral("1"), QStringLiteral("张三")));
            mode = modeOf(path + QStringLiteral("-journal"));
            return true;
        });
        return mode;
    }

    QTemporaryDir dir;

private:
    mode_t m_savedUmask = 0;
};

TEST_F(PrivateFiles, ADatabaseItsJournalAndItsFolders) {
    EXPECT_EQ(journalModeOfASave(path("data/491MX/billing.sqlite")), 0600u);
    EXPECT_EQ(modeOf(path("data/491MX/billing.sqlite")), 0600u);
    EXPECT_EQ(modeOf(path("data/491MX")), 0700u);
    EXPECT_EQ(modeOf(path("data")), 0700u);

    QFile shared(path("shared.sqlite"));
    ASSERT_TRUE(shared.open(QIODevice::WriteOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(shared.fileName()).constData(), 0660), 0);
    EXPECT_EQ(journalModeOfASave(shared.fileName()), 0660u);
    EXPECT_EQ(modeOf(shared.fileName()), 0660u);
}

TEST_F(PrivateFiles, PdfCopiesOfReceiptsAndTheirFolder) {
    const FixedClock clock(QDateTime(QDate(2026, 3, 10), QTime(9, 15)));
    platform::QtPrinter printer(path("data/receipts"), clock, {},
                                [](const QString&) { return QPrinterInfo(); });
    printer.startJob(QStringLiteral("8"));
    printer.placeText(100, 100, QStringLiteral("张三"));
    const platform::PrintOutcome outcome = printer.endJob();

    ASSERT_FALSE(outcome.pdfPath.isEmpty()) << outcome.error.toStdString();
    EXPECT_EQ(modeOf(outcome.pdfPath), 0600u);
    EXPECT_EQ(modeOf(path("data/receipts")), 0700u);
    EXPECT_EQ(modeOf(path("data")), 0700u);
}

TEST_F(PrivateFiles, DeskSettingsAndTheirFolderAndAFileThatExists) {
    printing::PrintSettings settings;
    settings.printerName = QStringLiteral("前台");
    QString error;
    ASSERT_TRUE(settings::writePrintSettings(path("config/491MX/491MX.conf"), settings, &error))
        << error.toStdString();
    EXPECT_EQ(modeOf(path("config/491MX/491MX.conf")), 0600u);
    EXPECT_EQ(modeOf(path("config/491MX")), 0700u);
    EXPECT_EQ(modeOf(path("config")), 0700u);

    ASSERT_EQ(::chmod(QFile::encodeName(path("config/491MX/491MX.conf")).constData(), 0644), 0);
    settings.printerName = QStringLiteral("后台");
    ASSERT_TRUE(settings::writePrintSettings(path("config/491MX/491MX.conf"), settings, &error));
    EXPECT_EQ(modeOf(path("config/491MX/491MX.conf")), 0644u);
}

// A PDF written where the person asked: it replaces a PDF (keeping its mode), and nothing else,
// the database least of all; no symbolic link makes it land elsewhere, and a new one is private.
TEST_F(PrivateFiles, APdfReplacesOnlyAPdfAndIsNeverMadeThroughALink) {
    ::umask(022);
    const QByteArray pdf = "%PDF-1.4 new";
    QString error;
    ASSERT_TRUE(store::Database(path("billing.sqlite")).prepare(&error)) << error.toStdString();
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        bool written;
        unsigned mode;  // of what is at the path afterwards
    } targets[] = {
        {"nothing.pdf", [](const QString&) {}, true, 0600u},
        {"old.pdf",
         [](const QString& at) {
             write(at, "%PDF-1.4 old");
             ::chmod(QFile::encodeName(at).constData(), 0640);
         },
         true, 0640u},
        {"billing.sqlite", [](const QString&) {}, false, 0600u},
        {"notes.txt", [](const QString& at) { write(at, "住院号"); }, false, 0644u},
        {"empty.pdf", [](const QString& at) { write(at, ""); }, false, 0644u},
        {"to-nothing.pdf",
         [this](const QString& at) { QFile::link(path("elsewhere/made.pdf"), at); }, false, 0u},
    };
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    for (const auto& target : targets) {
        SCOPED_TRACE(target.name);
        const QString at = path(target.name);
        target.make(at);
        const QByteArray before = contentOf(at);

        error.clear();
        EXPECT_EQ(platform::writePdfFile(at, pdf, &error), target.written) << error.toStdString();

        EXPECT_EQ(contentOf(at), target.written ? pdf : before);
        EXPECT_EQ(target.mode == 0 ? 0u : modeOf(at), target.mode);
        EXPECT_EQ(target.written, error.isEmpty()) << error.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("elsewhere/made.pdf")));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral(".*.pdf.*")}, QDir::Files | QDir::Hidden),
              QStringList());
}

// SQLite would make the file a dangling link names readable by everyone.
TEST_F(PrivateFiles, NoDatabaseIsMadeThroughALinkToNothing) {
    ASSERT_TRUE(QFile::link(path("elsewhere/billing.sqlite"), path("billing.sqlite")));
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    store::Database database(path("billing.sqlite"));
    QString error;
    EXPECT_FALSE(database.prepare(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("符号链接"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("elsewhere/billing.sqlite")));
}

}  // namespace
