#include "commands/cashier_command.h"

#include <QTextStream>
#include <optional>

#include "commands/command_opening.h"
#include "common/number_text.h"
#include "store/cashier_admin.h"
#include "store/database.h"

namespace commands {

namespace {

using store::CashierChangeOutcome;

const QString kUnchanged = QStringLiteral("收费员表没有改变。");
// After the name of a cashier whose password is still stored as typed / opens no login.
const QString kPlainPasswordMark = QStringLiteral("\t（明文密码）");
const QString kUnusablePasswordMark = QStringLiteral("\t（密码无法使用，须重设）");

enum class Action { List, Add, Password, Remove };

struct ActionWord {
    QStringView word;
    Action action;
    bool takesName;
};

constexpr ActionWord kActions[] = {
    {u"list", Action::List, false},
    {u"add", Action::Add, true},
    {u"password", Action::Password, true},
    {u"remove", Action::Remove, true},
};

struct Request {
    Action action = Action::List;
    QString name;
};

QString helpText() {
    return QStringLiteral(
        "用法：inpatient-billing [--database PATH|URI] cashier 命令\n"
        "管理登录窗口的收费员（数据库中的收费员表 USER）。数据库还不存在时，先像程序第一次启动"
        "那样建立它。\n\n"
        "命令：\n"
        "  list             按表中顺序列出收费员，每行一个姓名；密码仍以明文保存的收费员，\n"
        "                   姓名后面跟一个制表符和“（明文密码）”；密码为空或是本程序不能\n"
        "                   核对的散列值（不能登录）的，跟“（密码无法使用，须重设）”\n"
        "  add 姓名         添加收费员\n"
        "  password 姓名    修改收费员的密码（有同名的收费员时，改登录时核对的第一个）\n"
        "  remove 姓名      删除这个姓名的收费员；最后一个收费员不能删除，还有没交班的\n"
        "                   记录的收费员要先在收费处交班才能删除\n\n"
        "姓名按原样保存，登录时要完全一致（大小写和空格都算）。\n"
        "新密码在终端上输入两次，输入时不显示；标准输入不是终端时，它的第一行就是新密码。\n"
        "密码只以加盐的 Argon2id 散列值保存；明文密码只在用 password 修改时换成散列值。\n"
        "退出状态：0 成功，1 被拒绝（收费员表没有改变），2 用法错误。\n");
}

// What the arguments ask for; none, with the reason in *problem, when they make no request.
std::optional<Request> readRequest(const QStringList& arguments, QString* problem) {
    if (arguments.isEmpty()) {
        *problem = QStringLiteral("cashier 后面要跟 list、add、password 或 remove。");
        return std::nullopt;
    }
    for (const ActionWord& known : kActions) {
        if (arguments.first() != known.word) {
            continue;
        }
        const qsizetype expected = known.takesName ? 2 : 1;
        if (arguments.size() < expected) {
            *problem = QStringLiteral("cashier %1 后面要跟收费员的姓名。").arg(known.word);
        } else if (arguments.size() > expected) {
            *problem = QStringLiteral("多余的参数“%1”。").arg(arguments[expected]);
        } else {
            return Request{known.action, known.takesName ? arguments[1] : QString()};
        }
        return std::nullopt;
    }
    *problem = QStringLiteral("cashier 没有“%1”这个命令。").arg(arguments.first());
    return std::nullopt;
}

int refuse(QTextStream& err, const QString& reason, bool changedNothing = true) {
    err << reason << (changedNothing ? kUnchanged : QString()) << '\n';
    return kRefused;
}

int listCashiers(store::Database& database, QTextStream& out, QTextStream& err) {
    QList<store::CashierEntry> cashiers;
    QString error;
    if (!store::listCashiers(database, &cashiers, &error)) {
        err << error << '\n';
        return kRefused;
    }
    for (const store::CashierEntry& cashier : cashiers) {
        out << cashier.name
            << (cashier.password == store::StoredPassword::Plain      ? kPlainPasswordMark
                : cashier.password == store::StoredPassword::Unusable ? kUnusablePasswordMark
                                                                      : QString())
            << '\n';
    }
    return kSucceeded;
}

// Why a change was refused, in the administrator's words.
QString refusalReason(const store::CashierChange& change, const QString& name) {
    switch (change.outcome) {
        case CashierChangeOutcome::NameTaken:
            return QStringLiteral("已经有名为“%1”的收费员。").arg(name);
        case CashierChangeOutcome::UnknownName:
            return QStringLiteral(
                       "没有名为“%1”的收费员（姓名要与表中的完全一样，大小写和空格都算）。")
                .arg(name);
        case CashierChangeOutcome::LastCashier:
            return QStringLiteral("不能删除“%1”：删除后就没有能登录的收费员了。").arg(name);
        case CashierChangeOutcome::OpenShift:
            return QStringLiteral(
                       "不能删除“%1”：还有%2笔记录没有交班，应交现金 %3 元。请这位收费员"
                       "先在收费处登录并交班（忘了密码的，先用 cashier password 设置"
                       "新密码），再删除。")
                .arg(name, QString::number(change.openShift.events),
                     common::numberToText(change.openShift.cash));
        case CashierChangeOutcome::UnusableName:
            return QStringLiteral("收费员姓名不能为空，也不能含有换行符、制表符等控制字符。");
        case CashierChangeOutcome::EmptyPassword:
            return QStringLiteral("新密码不能为空。");
        case CashierChangeOutcome::Failed:
        case CashierChangeOutcome::Uncertain:
        case CashierChangeOutcome::Done:
            break;
    }
    return change.error;
}

QString doneMessage(Action action, const QString& name) {
    switch (action) {
        case Action::Add:
            return QStringLiteral("已添加收费员“%1”。").arg(name);
        case Action::Password:
            return QStringLiteral("已修改收费员“%1”的密码。").arg(name);
        case Action::Remove:
        case Action::List:
            break;
    }
    return QStringLiteral("已删除收费员“%1”。").arg(name);
}

// The refusal that the table as it is now already gives, so that nobody types a password in
// vain; the change itself checks again.
std::optional<store::CashierChange> refusalBeforePassword(store::Database& database,
                                                          const Request& request) {
    if (request.action == Action::Add && !store::isUsableCashierName(request.name)) {
        return store::CashierChange{CashierChangeOutcome::UnusableName, {}};
    }
    QString error;
    const std::optional<bool> exists = store::hasCashier(database, request.name, &error);
    if (!exists) {
        return store::CashierChange{CashierChangeOutcome::Failed, error};
    }
    if (request.action == Action::Add && *exists) {
        return store::CashierChange{CashierChangeOutcome::NameTaken, {}};
    }
    if (request.action == Action::Password && !*exists) {
        return store::CashierChange{CashierChangeOutcome::UnknownName, {}};
    }
    return std::nullopt;
}

int changeCashiers(store::Database& database, const Request& request, const PasswordInput& input,
                   QTextStream& err) {
    const QString& name = request.name;
    store::CashierChange change;
    if (request.action == Action::Remove) {
        change = store::removeCashier(database, name);
    } else if (const auto refusal = refusalBeforePassword(database, request)) {
        change = *refusal;
    } else {
        QString problem;
        const std::optional<QString> password = readNewPassword(input, name, err, &problem);
        if (!password) {
            return refuse(err, problem);
        }
        change = request.action == Action::Add ? store::addCashier(database, name, *password)
                                               : store::changePassword(database, name, *password);
    }
    if (change.outcome != CashierChangeOutcome::Done) {
        return refuse(err, refusalReason(change, name),
                      change.outcome != CashierChangeOutcome::Uncertain);
    }
    err << doneMessage(request.action, name) << '\n';
    return kSucceeded;
}

}  // namespace

int runCashierCommand(const QStringList& arguments, const QString& databaseLocation,
                      const PasswordInput& input, QTextStream& out, QTextStream& err) {
    const auto onDatabase = [&](const Request& request) {
        return runOnPreparedDatabase(databaseLocation, err, [&](store::Database& database) {
            return request.action == Action::List ? listCashiers(database, out, err)
                                                  : changeCashiers(database, request, input, err);
        });
    };
    return runCommand<Request>(u"cashier", helpText(), arguments, readRequest, out, err,
                               onDatabase);
}

}  // namespace commands
