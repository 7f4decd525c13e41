#include "storage/sqlite/online_copy.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "storage/sqlite/connection.h"
#include "storage/sqlite/failure.h"
#include "storage/sqlite/statement.h"

namespace storage {

namespace {

// One step holds the source's read lock for a few milliseconds; a desk that commits between two
// steps is not kept waiting.
constexpr int kPagesPerStep = 4096;
// A copy that other programs' writes have restarted this often takes the source's read lock
// until it is done; their commits wait meanwhile.
constexpr int kRestartsBeforeHoldingTheSource = 3;
// How long the copy waits for the target's lock (nobody else has the new file).
constexpr int kBusyTimeoutMs = 5000;
// How often one step looks again for its turn to read, a millisecond apart, while programs that
// commit one transaction after another hold the source.
constexpr int kTurnsAwaited = 10000;
// An integrity check lists at most this many problems.
constexpr int kProblemsShown = 3;
// What a crashed program may have left beside a database file of its unfinished transaction.
constexpr QLatin1StringView kLeftBeside[] = {QLatin1StringView("-journal"),
                                             QLatin1StringView("-wal"), QLatin1StringView("-shm")};

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Whether anything is at path, a symbolic link to nothing included.
bool isTaken(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

const QString kPartialEnd = QStringLiteral(".partial");

// What the names of the partial files of copies whose names start with copyNameStart start with.
QString partialNameStart(const QString& copyNameStart) {
    return u'.' + copyNameStart;
}

// A new, empty file beside targetPath that only its owner may read, removed with the object
// unless it was kept. The object holds a lock on it, which tells a later copy whether it was
// left behind by one that ended without cleaning up (killed, or the computer stopped).
class PartialFile {
public:
    explicit PartialFile(const QString& targetPath)
        : m_file(QFileInfo(targetPath)
                     .absoluteDir()
                     .filePath(partialNameStart(QFileInfo(targetPath).fileName()) +
                               QStringLiteral(".XXXXXX") + kPartialEnd)) {
        if (!m_file.open()) {
            m_error = m_file.errorString();
        } else if (::flock(m_file.handle(), LOCK_EX | LOCK_NB) != 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        } else {
            m_file.setAutoRemove(false);
            m_path = m_file.fileName();
        }
    }
    ~PartialFile() {
        if (!m_path.isEmpty() && !m_kept) {
            QFile::remove(m_path);
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& error() const { return m_error; }
    void keep() { m_kept = true; }

private:
    QTemporaryFile m_file;  // open until the object ends: the lock lasts as long
    QString m_path;
    QString m_error;
    bool m_kept = false;
};

// The name under which what was left beside targetPath is kept: targetPath.left-behind, with a
// number when that is taken.
QString unusedKeptPath(const QString& targetPath) {
    const QString stem = targetPath + QStringLiteral(".left-behind");
    QString kept = stem;
    for (int number = 2;
         std::any_of(std::begin(kLeftBeside), std::end(kLeftBeside),
                     [&kept](QLatin1StringView suffix) { return isTaken(kept + suffix); });
         ++number) {
        kept = stem + u'-' + QString::number(number);
    }
    return kept;
}

// Removes the partial file at path unless a copy under way holds it.
void removeIfLeftBehind(const QString& path) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        QFile::remove(path);
    }
    ::close(descriptor);
}

// SQLite's own waiting looks less and less often, and a desk that commits again and again would
// keep the copy from ever reading between two of its transactions.
int awaitTurn(void* /*unused*/, int turnsAwaited) {
    if (turnsAwaited >= kTurnsAwaited) {
        return 0;
    }
    sqlite3_sleep(1);
    return 1;
}

// Copies every page, stepping so that writers get their turn, until the copy is whole.
bool copyPages(SqliteConnection& source, SqliteConnection& target, QString* reason) {
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (backup == nullptr) {
        *reason = target.failureReason();
        return false;
    }
    int pagesPerStep = kPagesPerStep;
    int restarts = 0;
    int remaining = INT_MAX;
    int result = SQLITE_OK;
    do {
        result = sqlite3_backup_step(backup, pagesPerStep);
        // A write by another program starts the copy again from the first page.
        const int left = sqlite3_backup_remaining(backup);
        if (result == SQLITE_OK && left >= remaining &&
            ++restarts >= kRestartsBeforeHoldingTheSource) {
            pagesPerStep = -1;
        }
        remaining = left;
    } while (result == SQLITE_OK);
    sqlite3_backup_finish(backup);
    if (result != SQLITE_DONE) {
        *reason = sqliteFailureReason(result, QString::fromUtf8(sqlite3_errstr(result)));
        return false;
    }
    return true;
}

// A rename is on the disk once its folder is.
bool syncFolder(const QString& folder, QString* reason) {
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
    const int error = errno;
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!synced) {
        *reason = QStringLiteral("无法把文件夹“%1”写到磁盘上：%2")
                      .arg(shown(folder), QString::fromLocal8Bit(std::strerror(error)));
    }
    return synced;
}

}  // namespace

bool passesIntegrityCheck(const SqliteConnection& connection, QString* reason) {
    SqliteStatement check(connection, QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (check.step()) {
        problems.append(check.columnText(0));
    }
    if (!check.isPrepared() || check.errorCode() != 0) {
        *reason = check.failureReason();
        return false;
    }
    if (problems != QStringList{QStringLiteral("ok")}) {
        *reason = QStringLiteral("没有通过 SQLite 的完整性检查（%1）")
                      .arg(problems.mid(0, kProblemsShown).join(QStringLiteral("；")));
        return false;
    }
    return true;
}

bool replaceFile(const QString& from, const QString& to, QString* reason) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        *reason = QStringLiteral("无法把“%1”改名为“%2”：%3")
                      .arg(shown(from), shown(to), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return syncFolder(QFileInfo(to).absolutePath(), reason);
}

void removeLeftoverPartialFiles(const QString& folder, const QString& copyNameStart) {
    const QStringList names = QDir(folder).entryList(
        {partialNameStart(copyNameStart) + u'*' + kPartialEnd}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        removeIfLeftBehind(QDir(folder).filePath(name));
    }
}

bool setLeftoversAside(const QString& path, const QString& keptPath, QStringList* kept,
                       QString* reason) {
    for (const QLatin1StringView suffix : kLeftBeside) {
        const QString left = path + suffix;
        if (isTaken(left)) {
            if (!replaceFile(left, keptPath + suffix, reason)) {
                return false;
            }
            kept->append(keptPath + suffix);
        }
    }
    return true;
}

bool copyDatabaseOnline(const QString& sourcePath, const QString& targetPath, QString* reason) {
    SqliteConnection source;
    if (!source.open(sourcePath, true, kBusyTimeoutMs, reason)) {
        return false;
    }
    sqlite3_busy_handler(source.handle(), awaitTurn, nullptr);
    removeLeftoverPartialFiles(QFileInfo(targetPath).absolutePath(),
                               QFileInfo(targetPath).fileName() + u'.');
    PartialFile partial(targetPath);
    if (partial.path().isEmpty()) {
        *reason = QStringLiteral("无法在文件夹“%1”中写文件：%2")
                      .arg(shown(QFileInfo(targetPath).absolutePath()), partial.error());
        return false;
    }
    {
        SqliteConnection copy;
        // The partial file needs no journal: it is thrown away whole when anything fails. The
        // commit at the end puts it on the disk.
        if (!copy.open(partial.path(), false, kBusyTimeoutMs, reason) ||
            !copy.execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = FULL", reason) ||
            !copyPages(source, copy, reason) || !passesIntegrityCheck(copy, reason)) {
            return false;
        }
    }
    // What a crashed program left beside the target belongs to the file that was there, never to
    // the copy: the copy's first reader would play it into the copy.
    QStringList keptLeftovers;
    if (!setLeftoversAside(targetPath, unusedKeptPath(targetPath), &keptLeftovers, reason) ||
        !replaceFile(partial.path(), targetPath, reason)) {
        return false;
    }
    partial.keep();
    return true;
}

}  // namespace storage
