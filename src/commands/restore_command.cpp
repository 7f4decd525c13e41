#include "commands/restore_command.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "commands/command_opening.h"
#include "commands/database_file_argument.h"
#include "platform/clock.h"
#include "platform/terminal_input.h"
#include "storage/database_file.h"
#include "store/schema.h"

namespace commands {

namespace {

const QString kYesOption = QStringLiteral("--yes");
const QString kUnchanged = QStringLiteral("数据库文件没有改变。");

QString helpText() {
    return QStringLiteral(
        "用法：inpatient-billing [--database 数据库文件] restore [--yes] 备份文件\n"
        "用备份文件换下数据库文件。先检查备份：必须是完好的数据库（SQLite 的完整性检查），\n"
        "有本程序的表，而且不是较新版本的程序建立的（较旧的在程序下次启动时升级）。\n"
        "本机有程序开着数据库文件时（收费台的程序，或其他命令）不恢复：请先退出它们。\n"
        "当前的数据库文件保留在旁边，名为 <数据库文件>.before-restore-年月日-时分秒；\n"
        "它旁边崩溃的程序留下的 -journal、-wal、-shm 文件随它改名（数据库文件不在时也改），\n"
        "不会并入恢复的文件。\n\n"
        "选项：\n"
        "  --yes    备份中的收据比当前文件少（或当前文件读不出来）时也不问，直接恢复\n\n"
        "恢复前写出两边各有多少张收据；备份中的收据较少时，要在标准输入上输入 yes 才恢复。\n"
        "数据库在服务器上时，请用 pg_restore 恢复。\n"
        "退出状态：0 已恢复，1 被拒绝（数据库文件没有改变），2 用法错误。\n");
}

struct Request {
    QString backupPath;
    bool confirmed = false;
};

std::optional<Request> readRequest(const QStringList& arguments, QString* problem) {
    Request request;
    QStringList files;
    for (const QString& argument : arguments) {
        if (argument == kYesOption) {
            request.confirmed = true;
        } else if (argument.startsWith(u'-')) {
            *problem = QStringLiteral("restore 没有选项“%1”。").arg(argument);
            return std::nullopt;
        } else {
            files.append(argument);
        }
    }
    if (files.size() != 1 || files.first().isEmpty()) {
        *problem = files.size() > 1 ? QStringLiteral("多余的参数“%1”。").arg(files[1])
                                    : QStringLiteral("restore 后面要跟备份文件。");
        return std::nullopt;
    }
    request.backupPath = files.first();
    return request;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Whether the person at the other end answers yes to losing what only the current file holds.
bool confirmed(const std::optional<qint64>& current, qint64 backup, const AnswerInput& input,
               QTextStream& out) {
    out << (current
                ? QStringLiteral("备份中的收据比当前文件少 %1 张：恢复以后，这些收据只在保留下来的"
                                 "原文件里。")
                      .arg(*current - backup)
                : QStringLiteral("当前文件读不出来，不知道其中有多少张收据。"))
        << QStringLiteral("确实要恢复吗？输入 yes 继续：") << Qt::flush;
    const std::optional<QString> answer = input();
    out << '\n';
    return answer && answer->trimmed() == QStringLiteral("yes");
}

// Puts the checked backup in the place of the database file at databasePath, keeping the file
// it replaces beside it.
int restoreFrom(const Request& request, const QString& databasePath, const platform::Clock& clock,
                const AnswerInput& input, QTextStream& out, QTextStream& err) {
    QString reason;
    const QString& backupPath = request.backupPath;
    const auto refuse = [&err](const QString& why) {
        err << why << kUnchanged << '\n';
        return kRefused;
    };
    const QString canonicalBackup = QFileInfo(backupPath).canonicalFilePath();
    if (!canonicalBackup.isEmpty() &&
        canonicalBackup == QFileInfo(databasePath).canonicalFilePath()) {
        return refuse(QStringLiteral("“%1”就是数据库文件本身。").arg(shown(backupPath)));
    }
    const std::optional<qint64> backupReceipts = storage::checkRestorableFile(
        backupPath, store::schemaDefinition(), store::receiptSchema(), &reason);
    if (!backupReceipts) {
        return refuse(QStringLiteral("不能用“%1”恢复：%2。").arg(shown(backupPath), reason));
    }

    storage::DatabaseFileRestore restore(databasePath);
    if (!restore.lockOutPrograms(&reason)) {
        return refuse(
            QStringLiteral("现在不能恢复数据库文件“%1”：%2。").arg(shown(databasePath), reason));
    }
    const bool currentExists = QFileInfo::exists(databasePath);
    const std::optional<qint64> currentReceipts =
        restore.currentRecords(store::receiptSchema(), &reason);
    out << QStringLiteral("备份“%1”中有 %2 张收据。").arg(shown(backupPath)).arg(*backupReceipts)
        << '\n'
        << (!currentExists ? QStringLiteral("数据库文件“%1”还不存在。").arg(shown(databasePath))
            : currentReceipts ? QStringLiteral("当前的数据库文件“%1”中有 %2 张收据。")
                                    .arg(shown(databasePath))
                                    .arg(*currentReceipts)
                              : QStringLiteral("当前的数据库文件“%1”读不出来：%2。")
                                    .arg(shown(databasePath), reason))
        << '\n';
    const bool losesReceipts = !currentReceipts || *backupReceipts < *currentReceipts;
    if (losesReceipts && !request.confirmed &&
        !confirmed(currentReceipts, *backupReceipts, input, out)) {
        return refuse(QStringLiteral("没有恢复。"));
    }

    const QString keptPath = databasePath + QStringLiteral(".before-restore-") +
                             clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!restore.putInPlace(backupPath, keptPath, &reason)) {
        return refuse(QStringLiteral("没有恢复：%1。").arg(reason));
    }
    err << QStringLiteral("已用“%1”恢复数据库文件“%2”。")
               .arg(shown(backupPath), shown(databasePath))
        << (currentExists ? QStringLiteral("原来的文件保留为“%1”。").arg(shown(keptPath))
                          : QString())
        << '\n';
    for (const QString& kept : restore.leftoversKept()) {
        err << QStringLiteral("数据库文件旁边遗留的事务文件已改名为“%1”，没有并入恢复的文件。")
                   .arg(shown(kept))
            << '\n';
    }
    return kSucceeded;
}

}  // namespace

AnswerInput standardAnswerInput() {
    return [] { return platform::readStandardInputLine(false); };
}

int runRestoreCommand(const QStringList& arguments, const QString& databaseLocation,
                      const platform::Clock& clock, const AnswerInput& input, QTextStream& out,
                      QTextStream& err) {
    const auto onDatabaseFile = [&](const Request& request) {
        return runOnDatabaseFile(databaseLocation, err, [&](const QString& databasePath) {
            return restoreFrom(request, databasePath, clock, input, out, err);
        });
    };
    return runCommand<Request>(u"restore", helpText(), arguments, readRequest, out, err,
                               onDatabaseFile);
}

}  // namespace commands
