// A backup of the million-receipt file as the backup command and the daily copy make it (online
// backup in steps, PRAGMA integrity_check of the copy, then the rename), beside SQLite's own
// shell making a copy of the same file with .backup, its online backup without a check, as the
// baseline. Both write into a folder in /tmp and start from a missing target each time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "bench/million_receipts.h"
#include "storage/database_file.h"
#include "store/database.h"

namespace {

const QString kCopyFolder = QStringLiteral("/tmp/billing-bench-backup");

QString freshTarget(const QString& name) {
    QDir().mkpath(kCopyFolder);
    const QString target = QDir(kCopyFolder).filePath(name);
    QFile::remove(target);
    return target;
}

void BM_BackUpDatabaseFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = freshTarget(QStringLiteral("program.sqlite"));
        state.ResumeTiming();
        QString reason;
        if (!storage::backUpDatabaseFile(kMillionReceiptsFile, target, &reason)) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
    }
}

void BM_SqliteShellBackup(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = freshTarget(QStringLiteral("shell.sqlite"));
        state.ResumeTiming();
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"),
                    {kMillionReceiptsFile, QStringLiteral(".backup '%1'").arg(target)});
        if (!shell.waitForFinished(-1) || shell.exitStatus() != QProcess::NormalExit ||
            shell.exitCode() != 0) {
            state.SkipWithError("sqlite3 .backup failed (is the sqlite3 package installed?)");
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    {
        store::Database database(kMillionReceiptsFile);
        withMillionReceipts(database);
    }
    // The copies are written and synced to the disk: wall-clock time is what a desk waits.
    // The copies are written and synced to the disk: wall-clock time is what a desk waits.
    using Benchmark = void (*)(benchmark::State&);
    for (const auto& [name, run] :
         {std::pair<const char*, Benchmark>{"SqliteShellBackup", BM_SqliteShellBackup},
          {"BackUpDatabaseFile", BM_BackUpDatabaseFile}}) {
        benchmark::RegisterBenchmark(name, run)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(5);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    QDir(kCopyFolder).removeRecursively();
}
