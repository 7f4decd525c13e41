#include "storage/sqlite/failure.h"

#include <sqlite3.h>

namespace storage {

QString sqliteFailureReason(int resultCode, const QString& detail) {
    if (resultCode == SQLITE_READONLY_ROLLBACK) {
        return QStringLiteral(
            "文件旁边有崩溃的程序留下的未完成事务（-journal 文件），要先撤销它才能读这个文件，"
            "而现在的用户不能写这个文件：请用能写它的用户（例如收费台的用户）打开一次程序，"
            "或以该用户再做一次");
    }
    switch (resultCode & 0xff) {
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
            return QStringLiteral("无法打开文件（文件夹不存在或没有访问权限）");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral("文件正被其他程序使用，请稍后再试");
        case SQLITE_READONLY:
            return QStringLiteral("文件是只读的，不能写入");
        case SQLITE_IOERR:
            return QStringLiteral("读写磁盘时出错");
        case SQLITE_CORRUPT:
            return QStringLiteral("文件已损坏");
        case SQLITE_FULL:
            return QStringLiteral("磁盘已满");
        case SQLITE_NOTADB:
            return QStringLiteral("该文件不是 SQLite 数据库");
        default:
            break;
    }
    return QStringLiteral("数据库出错（%1）").arg(detail);
}

}  // namespace storage
