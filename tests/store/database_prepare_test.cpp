#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "store/cashier_password.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/shift_tables.h"
#include "store/table.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::Database;
using store::Table;
using store_test::day;
using store_test::receipt;
using store_test::StoreTest;

// Runs SQL on a file through a connection of its own, as another program would.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        connection.setDatabaseName(path);
        EXPECT_TRUE(connection.open());
    }
    ~OtherProgram() {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool run(const QString& sql) { return QSqlQuery(QSqlDatabase::database(m_name)).exec(sql); }

private:
    QString m_name = QStringLiteral("other-program");
};

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using NewDatabase = StoreTest;

INSTANTIATE_TEST_SUITE_P(Engines, NewDatabase,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(NewDatabase, HasTheReceiptColumnsInOrderAndTheFirstCashier) {
    QStringList expected{QStringLiteral("住院号"), QStringLiteral("姓名"),
                         QStringLiteral("入院日期"), QStringLiteral("出院日期")};
    for (const char16_t* fee :
         {u"床位费", u"诊金",   u"治疗费",   u"护理费",     u"检查费",   u"CT",   u"MRI",
          u"手术费", u"化验费", u"西药费",   u"中成药费",   u"中草药费", u"其它", u"麻醉",
          u"材料",   u"陪住",   u"自费药品", u"特需服务费", u"杂费",     u"备用", u"合计",
          u"预交",   u"补收",   u"退款",     u"欠费",       u"收费员"}) {
        expected.append(QString::fromUtf16(fee));
    }
    QStringList cashierColumns{QStringLiteral("收费员"), QStringLiteral("密码")};
    if (GetParam() == EngineKind::Postgres) {
        expected.append(QStringLiteral("序号"));
        cashierColumns.append(QStringLiteral("序号"));
    }
    EXPECT_EQ(scratch().columnsOf(QStringLiteral("MZY")), expected);
    EXPECT_EQ(scratch().columnsOf(QStringLiteral("USER")), cashierColumns);

    Table cashiers(database());
    ASSERT_TRUE(cashiers.open(store::kCashierTable));
    EXPECT_EQ(cashiers.readField(u"收费员"), QVariant(QStringLiteral("491MX")));
    const QString password = cashiers.readField(u"密码").toString();
    EXPECT_TRUE(password.startsWith(QStringLiteral("$argon2id$"))) << password.toStdString();
    EXPECT_TRUE(store::passwordOpens(password, QStringLiteral("491mx")));
    cashiers.skip();
    EXPECT_TRUE(cashiers.pastLast());
}

TEST_P(NewDatabase, PreparingAgainChangesNothing) {
    appendReceipts({receipt(QStringLiteral("1"), QStringLiteral("甲"))});
    const QVariant firstHash =
        runSql(QStringLiteral(R"(SELECT "密码" FROM "USER")")).value(0).value(0);
    database().closeAll();
    Database again(databaseLocation());
    QString error;
    ASSERT_TRUE(again.prepare(&error)) << error.toStdString();
    Table cashiers(again);
    ASSERT_TRUE(cashiers.open(store::kCashierTable));
    EXPECT_EQ(cashiers.readField(u"密码"), QVariant(firstHash)) << "hashed once, not at each start";
    cashiers.skip();
    EXPECT_TRUE(cashiers.pastLast()) << "the first cashier is added once";
    Table receipts(again);
    ASSERT_TRUE(receipts.open(store::kReceiptTable));
    EXPECT_EQ(receipts.readField(u"姓名"), QVariant(QStringLiteral("甲")));
}

class UnusableDatabase : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("billing.sqlite")) const {
        return m_folder.filePath(name);
    }
    // prepare's message, or a failure when the file was accepted.
    static QString refusal(Database& database) {
        QString error;
        EXPECT_FALSE(database.prepare(&error));
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(database.location())))
            << error.toStdString();
        return error;
    }

    QTemporaryDir m_folder;
};

TEST_F(UnusableDatabase, NewFileGetsItsFolder) {
    Database database(path(QStringLiteral("数据/子目录/billing.sqlite")));
    QString error;
    EXPECT_TRUE(database.prepare(&error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(database.location()));
}

TEST_F(UnusableDatabase, ReceiptTableLackingAColumnIsRefusedAndLeftAlone) {
    {
        OtherProgram other(path());
        ASSERT_TRUE(other.run(QStringLiteral("CREATE TABLE MZY (住院号 TEXT, 姓名 TEXT)")));
    }
    const QByteArray before = contentOf(path());
    Database database(path());
    const QString error = refusal(database);
    EXPECT_TRUE(error.contains(QStringLiteral("入院日期"))) << error.toStdString();
    database.closeAll();
    EXPECT_EQ(contentOf(path()), before);
}

TEST_F(UnusableDatabase, FileThatIsNotSqliteIsRefusedAndLeftAlone) {
    const QByteArray text = "住院号,姓名\n123,张三\n" + QByteArray(4096, 'x');
    ASSERT_TRUE(writeFile(path(), text));
    Database database(path());
    const QString error = refusal(database);
    EXPECT_TRUE(error.contains(QStringLiteral("不是 SQLite 数据库"))) << error.toStdString();
    database.closeAll();
    EXPECT_EQ(contentOf(path()), text);
}

TEST_F(UnusableDatabase, FolderInPlaceOfTheFileIsRefused) {
    ASSERT_TRUE(QDir().mkpath(path()));
    Database database(path());
    EXPECT_TRUE(refusal(database).contains(QStringLiteral("文件夹")));
}

TEST_F(UnusableDatabase, FileLockedByAnotherProgramIsRefused) {
    {
        Database first(path());
        QString error;
        ASSERT_TRUE(first.prepare(&error));
    }
    OtherProgram other(path());
    ASSERT_TRUE(other.run(QStringLiteral("BEGIN EXCLUSIVE")));
    ASSERT_TRUE(other.run(QStringLiteral("DELETE FROM USER")));
    Database database(path(), 50);
    EXPECT_TRUE(refusal(database).contains(QStringLiteral("正被其他程序使用")));
    ASSERT_TRUE(other.run(QStringLiteral("ROLLBACK")));
}

// Of an older program's file, which lacks the journal, too.
TEST_F(UnusableDatabase, ReadOnlyFileCanBeReadButNotWritten) {
    {
        Database first(path());
        QString error;
        ASSERT_TRUE(first.prepare(&error));
        Table table(first);
        ASSERT_TRUE(table.open(store::kReceiptTable));
        ASSERT_TRUE(table.appendRecord(receipt(QStringLiteral("1"), QStringLiteral("甲"))));
    }
    {
        OtherProgram older(path());
        for (const QString& table : {store::journalSchema().name, store::settlementSchema().name}) {
            ASSERT_TRUE(older.run(QStringLiteral("DROP TABLE \"%1\"").arg(table)));
        }
    }
    ASSERT_TRUE(
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = contentOf(path());

    Database database(path());
    QString error;
    ASSERT_TRUE(database.prepare(&error)) << error.toStdString();
    Table table(database);
    ASSERT_TRUE(table.open(store::kReceiptTable));
    ASSERT_TRUE(store::findByInpatientNumber(table, QStringLiteral("1")));
    EXPECT_FALSE(table.rewriteRecord(receipt(QStringLiteral("1"), QStringLiteral("乙"))));
    EXPECT_TRUE(table.lastError().contains(QStringLiteral("只读")))
        << table.lastError().toStdString();
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("甲")));
    EXPECT_FALSE(table.appendRecord(receipt(QStringLiteral("2"), QStringLiteral("乙"))));
    EXPECT_TRUE(table.lastError().contains(database.location())) << table.lastError().toStdString();
    table.skip();
    EXPECT_TRUE(table.pastLast());
    table.close();
    database.closeAll();
    EXPECT_EQ(contentOf(path()), before);
}

}  // namespace
