#include "commands/backup_command.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "commands/backup_folder.h"
#include "commands/command_opening.h"
#include "commands/database_file_argument.h"
#include "common/private_files.h"
#include "platform/clock.h"
#include "storage/database_file.h"

namespace commands {

namespace {

QString helpText() {
    return QStringLiteral(
        "用法：inpatient-billing [--database 数据库文件] backup 目标\n"
        "把数据库文件完整地复制一份，收费台正在收费时也可以做。副本先写成临时文件，通过 SQLite\n"
        "的完整性检查（integrity_check）后才改成目标的名字；只有文件的主人能读它。\n\n"
        "目标是文件夹（或以 / 结尾）时，副本放在里面，名为 billing-电脑名-数据库的标识-\n"
        "年月日-时分秒.sqlite（几台电脑的副本放在一个文件夹里也不会混）；\n"
        "不存在的文件夹会建立。已有的目标文件只在它也是数据库文件时才被替换；目标旁边崩溃的程序\n"
        "留下的 -journal、-wal、-shm 文件改名为“目标.left-behind-journal”等，不会并入副本。\n"
        "先前被中断的备份留下的临时文件会被删掉。\n"
        "数据库在服务器上时，请用 pg_dump 备份。\n"
        "成功后在标准输出上写出副本的路径。\n"
        "退出状态：0 成功，1 被拒绝（没有写成副本），2 用法错误。\n");
}

bool namesFolder(const QString& target) {
    return QFileInfo(target).isDir() || target.endsWith(u'/') || target.endsWith(QDir::separator());
}

// The one target the arguments name; none, with the reason in *problem, for anything else.
std::optional<QString> readTarget(const QStringList& arguments, QString* problem) {
    if (arguments.size() == 1 && !arguments.first().isEmpty() &&
        !arguments.first().startsWith(u'-')) {
        return arguments.first();
    }
    *problem = arguments.isEmpty() ? QStringLiteral("backup 后面要跟备份的目标（文件或文件夹）。")
               : arguments.size() > 1
                   ? QStringLiteral("多余的参数“%1”。").arg(arguments[1])
                   : QStringLiteral("backup 没有选项“%1”。").arg(arguments.first());
    return std::nullopt;
}

// Copies the database file at databasePath to target, a file or a folder.
int backUp(const QString& databasePath, const QString& target, const platform::Clock& clock,
           QTextStream& out, QTextStream& err) {
    QString reason;
    const bool intoFolder = namesFolder(target);
    const QString folder = intoFolder ? target : QFileInfo(target).absolutePath();
    const QString copyPath =
        QFileInfo(intoFolder ? QDir(folder).filePath(copyFileName(databasePath, clock.now()))
                             : target)
            .absoluteFilePath();
    if (intoFolder) {
        storage::removeLeftoverCopies(folder, copyNameStart(databasePath));
    }
    if (!common::makePrivateFolder(folder, &reason) ||
        !storage::backUpDatabaseFile(databasePath, copyPath, &reason)) {
        err << QStringLiteral("备份没有写成：%1。").arg(reason) << '\n';
        return kRefused;
    }
    out << QDir::toNativeSeparators(copyPath) << '\n';
    err << QStringLiteral("已把数据库文件“%1”备份到“%2”。")
               .arg(QDir::toNativeSeparators(databasePath), QDir::toNativeSeparators(copyPath))
        << '\n';
    return kSucceeded;
}

}  // namespace

int runBackupCommand(const QStringList& arguments, const QString& databaseLocation,
                     const platform::Clock& clock, QTextStream& out, QTextStream& err) {
    const auto onDatabaseFile = [&](const QString& target) {
        return runOnDatabaseFile(databaseLocation, err, [&](const QString& databasePath) {
            return backUp(databasePath, target, clock, out, err);
        });
    };
    return runCommand<QString>(u"backup", helpText(), arguments, readTarget, out, err,
                               onDatabaseFile);
}

}  // namespace commands
