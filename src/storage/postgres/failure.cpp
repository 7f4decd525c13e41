#include "storage/postgres/failure.h"

namespace storage {

namespace {

// Failures the server describes only by its code, with words of ours.
QString reasonForSqlState(const QString& sqlState) {
    struct Words {
        const char* sqlState;
        const char16_t* reason;
    };
    static constexpr Words kWords[] = {
        {"28P01", u"密码不对，服务器拒绝登录"},
        {"28000", u"服务器拒绝该用户登录（用户不存在，或不允许从这台电脑登录）"},
        {"3D000", u"服务器上没有这个数据库"},
        {"42501", u"该用户没有所需的权限"},
        // The server answered, but in time only to say that it gave up: it is busy, not gone.
        {"55P03",
         u"服务器忙：要用的数据正被另一台收费电脑或数据库的维护工作占用，等候超时，请稍后再试"},
        {"57014", u"服务器忙：这项操作没能在限定的时间内做完，已被服务器中止，请稍后再试"},
        {"22003", u"数值超出了数据库能保存的范围"},
        {"53100", u"服务器磁盘已满"},
        {"40001", u"与另一台收费电脑的操作冲突，请再试一次"},
        {"40P01", u"与另一台收费电脑的操作冲突，请再试一次"},
    };
    for (const Words& words : kWords) {
        if (sqlState == QLatin1StringView(words.sqlState)) {
            return QString::fromUtf16(words.reason);
        }
    }
    return QString();
}

QString connectionLostReason() {
    return QStringLiteral("与服务器的连接断开了");
}

}  // namespace

QString postgresServerDescription(const QString& user, const QString& host, const QString& port,
                                  const QString& databaseName) {
    QString description = host.isEmpty() ? QStringLiteral("本机") : host;
    if (!user.isEmpty()) {
        description.prepend(user + u'@');
    }
    if (!port.isEmpty()) {
        description += u':' + port;
    }
    if (!databaseName.isEmpty()) {
        description += u'/' + databaseName;
    }
    return description;
}

QString postgresFailureReason(const PostgresFailure& failure) {
    switch (failure.kind) {
        case PostgresFailure::Kind::BadAddress:
            return QStringLiteral("数据库服务器地址、服务文件或 PG 开头的环境变量有误（%1）")
                .arg(failure.detail);
        case PostgresFailure::Kind::Unreachable:
            return QStringLiteral("连不上主机 %1 的端口 %2（%3）")
                .arg(failure.host, failure.port, failure.detail);
        case PostgresFailure::Kind::PasswordMissing:
            return QStringLiteral("服务器要求密码，但 ~/.pgpass、PGPASSWORD 和服务文件里都没有");
        case PostgresFailure::Kind::ConnectionLost:
            return connectionLostReason();
        case PostgresFailure::Kind::NoAnswer:
            return QStringLiteral(
                       "主机 %1 的端口 %2 在 %3 秒内没有应答，连不上服务器（网络可能断了，"
                       "或服务器停了）")
                .arg(failure.host, failure.port, failure.detail);
        case PostgresFailure::Kind::TextWithNul:
            return QStringLiteral("文字中含有数据库不能保存的空字符");
        case PostgresFailure::Kind::None:
        case PostgresFailure::Kind::ServerError:
            break;
    }
    // Class 08 is the server's own word for a broken connection.
    if (failure.sqlState.startsWith(QLatin1StringView("08"))) {
        return connectionLostReason();
    }
    const QString reason = reasonForSqlState(failure.sqlState);
    // Which privilege is missing is for the administrator to read.
    if (failure.sqlState == QLatin1StringView("42501") && !failure.detail.isEmpty()) {
        return QStringLiteral("%1（%2）").arg(reason, failure.detail);
    }
    if (!reason.isEmpty()) {
        return reason;
    }
    if (failure.sqlState.isEmpty()) {
        return QStringLiteral("服务器出错（%1）").arg(failure.detail);
    }
    return QStringLiteral("服务器出错（%1：%2）").arg(failure.sqlState, failure.detail);
}

QString databaseServerMessage(const QString& serverDescription, const QString& reason) {
    return QStringLiteral("数据库服务器“%1”无法使用：%2。").arg(serverDescription, reason);
}

QString databaseServerWriteMessage(const QString& serverDescription, const QString& reason) {
    return QStringLiteral("无法写入数据库服务器“%1”：%2。").arg(serverDescription, reason);
}

}  // namespace storage
