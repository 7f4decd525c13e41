#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <optional>

#include "store/save_pause.h"
#include "store/schema.h"
#include "store/store_fixture.h"
#include "support/billing_desk.h"
#include "support/tcp_relay.h"

namespace {

using widget_driver::typeAndLeave;

const QString kPaperQuestion = QStringLiteral("请放好空白票据！");

// Lowers this process's own file size limit for as long as it lives; a write beyond the limit
// then fails instead of ending the process. The windows under test live in this process, which
// may raise its limit back afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

// Faults that strike while the cashier is asked for blank paper, between the desk's look-up of
// the inpatient number and its save, met through the real windows.
class DeskFaultTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        widget_driver::showActive(window());
        shell->beginWork(QStringLiteral("491MX"));
    }

    void typeReceipt(const QString& number, const QString& name) {
        ProgramTest::typeReceipt(number, name, {{u"编辑框2", QStringLiteral("100")}});
    }

    // 打印, while the fault happens as the paper question waits; the message the cashier saw
    // after it.
    QString printDuring(const std::function<void()>& fault) {
        messageBoxes.clear();
        printer.calls.clear();
        messageBoxes.whileShown([&](const widgets::Message& message) {
            if (message.text == kPaperQuestion) {
                fault();
            }
        });
        print();
        messageBoxes.whileShown({});
        return lastMessage();
    }

    QString lastMessage() {
        return messageBoxes.shown().empty() ? QString() : messageBoxes.shown().back().text;
    }

    // The window still holds the receipt as typed, and nothing went to the printer.
    void expectKeptAndNotPrinted(const QString& number, const QString& name) {
        EXPECT_TRUE(printer.calls.empty());
        EXPECT_EQ(box(u"编辑框26")->text(), number);
        EXPECT_EQ(box(u"编辑框1")->text(), name);
        EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("100"));
    }

    // The next 打印 stores the receipt and prints it, with no message but the paper question.
    void expectNextPrintStores() {
        messageBoxes.clear();
        printer.calls.clear();
        print();
        EXPECT_EQ(lastMessage(), kPaperQuestion);
        EXPECT_EQ(printer.placedTexts().size(), 49u);
    }

    QString saveFailure(const QString& reason) {
        return QStringLiteral("收据没有保存，也没有打印。\n无法写入%1：%2。")
            .arg(database().engine().description(), reason);
    }
    QString readFailure(const QString& reason) {
        return QStringLiteral("无法读取收据表，收据没有保存。\n%1无法使用：%2。")
            .arg(database().engine().description(), reason);
    }
};

class DatabaseFileFault : public DeskFaultTest {
protected:
    static inline const QString kGone =
        QStringLiteral("它在程序运行时被删除或移走了，请把它放回原处");
    static inline const QString kReplaced = QStringLiteral(
        "它在程序运行时被另一个文件替换了；那是另一个数据库，程序不会往里写，"
        "请查明原因后重新启动程序");
};

TEST_F(DatabaseFileFault, AWriteCutShortByTheFileSizeLimitIsReportedAndTheFileStaysWhole) {
    typeReceipt(QStringLiteral("61"), QStringLiteral("张三"));
    std::optional<FileSizeLimit> limit;
    // No file may be longer than a page: the save's journal is cut short.
    const QString message = printDuring([&] { limit.emplace(4096); });
    limit.reset();

    EXPECT_EQ(message, saveFailure(QStringLiteral("读写磁盘时出错")));
    expectKeptAndNotPrinted(QStringLiteral("61"), QStringLiteral("张三"));
    EXPECT_EQ(runSql(QStringLiteral("PRAGMA integrity_check")),
              QList<QStringList>{{QStringLiteral("ok")}});
    EXPECT_EQ(runSql(QStringLiteral("SELECT count(*) FROM MZY")),
              QList<QStringList>{{QStringLiteral("0")}});
    expectNextPrintStores();
}

TEST_F(DatabaseFileFault, AFileMovedAwayIsRefusedUntilItIsBackAndNoNewOneTakesItsPlace) {
    const QString path = databaseLocation();
    const QString away = path + QStringLiteral(".away");
    typeReceipt(QStringLiteral("62"), QStringLiteral("李四"));

    EXPECT_EQ(printDuring([&] { ASSERT_TRUE(QFile::rename(path, away)); }), saveFailure(kGone));
    expectKeptAndNotPrinted(QStringLiteral("62"), QStringLiteral("李四"));
    print();
    EXPECT_EQ(lastMessage(), readFailure(kGone));
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(QFile::rename(away, path));
    expectNextPrintStores();
}

TEST_F(DatabaseFileFault, AFileReplacedByAnotherIsRefusedAndNothingIsWrittenIntoIt) {
    const QString backup = scratch().folder() + QStringLiteral("/backup.sqlite");
    ASSERT_TRUE(QFile::copy(databaseLocation(), backup));
    typeReceipt(QStringLiteral("63"), QStringLiteral("王五"));
    print();
    typeReceipt(QStringLiteral("64"), QStringLiteral("赵六"));

    // The backup from before receipt 63 is put in the database's place.
    EXPECT_EQ(printDuring([&] {
                  ASSERT_EQ(std::rename(QFile::encodeName(backup).constData(),
                                        QFile::encodeName(databaseLocation()).constData()),
                            0);
              }),
              saveFailure(kReplaced));
    expectKeptAndNotPrinted(QStringLiteral("64"), QStringLiteral("赵六"));
    print();
    EXPECT_EQ(lastMessage(), readFailure(kReplaced));
    EXPECT_EQ(runSql(QStringLiteral("SELECT count(*) FROM MZY")),
              QList<QStringList>{{QStringLiteral("0")}});
}

// Deleted after the save's first write: what was written went into a file that is gone.
TEST_F(DatabaseFileFault, AFileDeletedWhileASaveIsWrittenIsNotReportedStored) {
    const storage::TransactionResult result =
        database().engine().transact(QStringLiteral("MZY:65"), [&](storage::RecordWriter& writer) {
            const bool inserted =
                writer
                    .insert(store::receiptSchema(),
                            store_test::receipt(QStringLiteral("65"), QStringLiteral("钱七")))
                    .has_value();
            EXPECT_TRUE(QFile::remove(databaseLocation()));
            return inserted;
        });
    EXPECT_EQ(result.outcome, storage::TransactionOutcome::Failed);
    EXPECT_EQ(result.reason, kGone);
}

class ServerFault : public DeskFaultTest {
protected:
    EngineKind engineKind() const override { return EngineKind::Postgres; }

    // Ends the desk's connection, as a restarted server or a broken network would, and waits
    // until it is gone.
    void dropDeskConnection() {
        runSql(
            QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE "
                           "datname = current_database() AND pid <> pg_backend_pid()"));
    }

    QList<QStringList> stored(const QString& table) {
        return runSql(QStringLiteral(R"(SELECT "住院号", "姓名" FROM "%1")").arg(table));
    }
};

TEST_F(ServerFault, AConnectionLostBeforeTheSaveFailsItAndTheNextPrintConnectsAgain) {
    const QString lost = saveFailure(QStringLiteral("与服务器的连接断开了"));
    typeReceipt(QStringLiteral("71"), QStringLiteral("孙八"));

    EXPECT_EQ(printDuring([this] { dropDeskConnection(); }), lost);
    expectKeptAndNotPrinted(QStringLiteral("71"), QStringLiteral("孙八"));
    EXPECT_TRUE(stored(store::kReceiptTable).isEmpty());
    expectNextPrintStores();

    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("修改"));
    typeAndLeave(box(u"编辑框26"), QStringLiteral("71"));
    typeAndLeave(box(u"编辑框1"), QStringLiteral("孙九"));
    EXPECT_EQ(printDuring([this] { dropDeskConnection(); }), lost);
    expectKeptAndNotPrinted(QStringLiteral("71"), QStringLiteral("孙九"));
    EXPECT_EQ(stored(store::kReceiptTable),
              (QList<QStringList>{{QStringLiteral("71"), QStringLiteral("孙八")}}));
    EXPECT_TRUE(stored(QStringLiteral("MZY_history")).isEmpty());

    expectNextPrintStores();
    EXPECT_EQ(stored(store::kReceiptTable),
              (QList<QStringList>{{QStringLiteral("71"), QStringLiteral("孙九")}}));
    EXPECT_EQ(stored(QStringLiteral("MZY_history")),
              (QList<QStringList>{{QStringLiteral("71"), QStringLiteral("孙八")}}));
}

// The desk reaches the server over TCP through a relay whose cable the test pulls: the network
// goes silent without closing anything, as when a switch loses power.
class NetworkFault : public DeskFaultTest {
protected:
    EngineKind engineKind() const override { return EngineKind::Postgres; }
    QString programLocation() const override {
        return relay.uriFor(DeskFaultTest::programLocation());
    }
    void TearDown() override {
        store::setSavePauseForTesting(nullptr);
        DeskFaultTest::TearDown();
    }

    // 打印 with the cable pulled by pull as the paper question waits; the message the cashier saw,
    // which must come within 20 seconds of the loss.
    QString printWhileCableIsPulled(const std::function<void()>& pull) {
        QElapsedTimer sinceLoss;
        const QString message = printDuring([&] {
            pull();
            sinceLoss.start();
        });
        EXPECT_LT(sinceLoss.elapsed(), 20'000) << "the cashier waited too long";
        return message;
    }

    static inline const QString kNoAnswer = QStringLiteral("在 10 秒内没有应答，连不上服务器");
    support::TcpRelay relay;
};

TEST_F(NetworkFault, ACablePulledBeforeTheSaveIsToldAndTheNextPrintConnectsAgain) {
    typeReceipt(QStringLiteral("81"), QStringLiteral("周一"));
    const QString message = printWhileCableIsPulled([this] { relay.pullCable(); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("收据没有保存，也没有打印。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(kNoAnswer)) << message.toStdString();
    expectKeptAndNotPrinted(QStringLiteral("81"), QStringLiteral("周一"));

    relay.plugCableBackIn();
    expectNextPrintStores();
}

// The server keeps the lost desk's half-done transaction, and the lock on the number with it,
// only until its idle limit: the desk's next 打印 takes the same lock.
TEST_F(NetworkFault, ACablePulledBetweenTheSavesStatementsFreesTheNumberForTheNextPrint) {
    typeReceipt(QStringLiteral("82"), QStringLiteral("吴二"));
    store::setSavePauseForTesting([this](store::SavePoint point) {
        if (point == store::SavePoint::NumberChecked) {
            relay.pullCable();
        }
    });
    const QString message = printWhileCableIsPulled([] {});
    store::setSavePauseForTesting(nullptr);
    EXPECT_TRUE(message.startsWith(QStringLiteral("收据没有保存，也没有打印。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(kNoAnswer)) << message.toStdString();
    expectKeptAndNotPrinted(QStringLiteral("82"), QStringLiteral("吴二"));
    EXPECT_TRUE(runSql(QStringLiteral(R"(SELECT 1 FROM "MZY")")).isEmpty());

    relay.plugCableBackIn();
    expectNextPrintStores();
}

// The server commits, its answer is lost, and the look that should settle it cannot reach the
// server either: the receipt is stored, so "not stored" would send the cashier to type it again.
TEST_F(NetworkFault, ACommitWhoseAnswerIsLostIsToldAsMaybeStoredAndModifyFindsIt) {
    typeReceipt(QStringLiteral("83"), QStringLiteral("郑三"));
    const QString message = printWhileCableIsPulled(
        [this] { relay.pullCableWhenSent(QByteArray("\0COMMIT\0", 8), true); });
    EXPECT_TRUE(message.startsWith(QStringLiteral(
        "收据可能已经保存，也可能没有；没有打印。\n请用“系统 → 修改”调出住院号“83”查看。\n"
        "无法写入数据库服务器")))
        << message.toStdString();
    expectKeptAndNotPrinted(QStringLiteral("83"), QStringLiteral("郑三"));

    relay.plugCableBackIn();
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("修改"));
    typeAndLeave(box(u"编辑框26"), QStringLiteral("83"));
    EXPECT_EQ(statusLine(), QString()) << "called up: it is stored";
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("郑三"));
    expectNextPrintStores();
    EXPECT_EQ(runSql(QStringLiteral(R"(SELECT count(*) FROM "MZY")")),
              QList<QStringList>{{QStringLiteral("1")}});
}

}  // namespace
