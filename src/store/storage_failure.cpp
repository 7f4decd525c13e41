#include "store/storage_failure.h"

#include <QDir>
#include <QSqlError>

namespace store {

namespace {

// SQLite's primary result codes, the low byte of an extended code.
enum SqliteCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
};

}  // namespace

QString sqliteFailureReason(int resultCode, const QString& detail) {
    switch (resultCode & 0xff) {
        case kPermission:
        case kCantOpen:
            return QStringLiteral("无法打开文件（文件夹不存在或没有访问权限）");
        case kBusy:
        case kLocked:
            return QStringLiteral("文件正被其他程序使用，请稍后再试");
        case kReadOnly:
            return QStringLiteral("文件是只读的，不能写入");
        case kIoError:
            return QStringLiteral("读写磁盘时出错");
        case kCorrupt:
            return QStringLiteral("文件已损坏");
        case kFull:
            return QStringLiteral("磁盘已满");
        case kNotADatabase:
            return QStringLiteral("该文件不是 SQLite 数据库");
        default:
            break;
    }
    return QStringLiteral("数据库出错（%1）").arg(detail);
}

QString sqlFailureReason(const QSqlError& error) {
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return sqliteFailureReason(isNumber ? code : -1, detail);
}

QString databaseFileMessage(const QString& path, const QString& reason) {
    return QStringLiteral("数据库文件“%1”无法使用：%2。")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString databaseWriteMessage(const QString& path, const QString& reason) {
    return QStringLiteral("无法写入数据库文件“%1”：%2。")
        .arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace store
