#include "register/export_run.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>
#include <limits>
#include <memory>

namespace receipt_register {

namespace {

// A short export ends before the dialog would show.
constexpr int kShowAfterMs = 400;

int progressSteps(qint64 receipts) {
    return static_cast<int>(std::min<qint64>(receipts, std::numeric_limits<int>::max()));
}

}  // namespace

ExportResult runExport(QWidget* parent, const QString& databaseLocation,
                       const store::ReceiptFilter& filter, const QString& path, qint64 expected) {
    QProgressDialog progress(QStringLiteral("正在导出收据……"), QStringLiteral("取消"), 0,
                             progressSteps(expected), parent);
    progress.setObjectName(QStringLiteral("导出进度"));
    progress.setWindowTitle(QStringLiteral("导出"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(kShowAfterMs);
    progress.setValue(0);

    std::atomic_bool cancel = false;
    QObject::connect(&progress, &QProgressDialog::canceled, &progress,
                     [&cancel] { cancel = true; });

    ExportResult result;
    const ExportControl control{[&progress](qint64 written) {
                                    // Told to the dialog on its own thread, after the fact.
                                    QMetaObject::invokeMethod(
                                        &progress,
                                        [&progress, written] {
                                            if (!progress.wasCanceled()) {
                                                progress.setValue(progressSteps(written));
                                            }
                                        },
                                        Qt::QueuedConnection);
                                },
                                &cancel};
    const std::unique_ptr<QThread> worker(
        QThread::create([&] { result = exportReceipts(databaseLocation, filter, path, control); }));
    QEventLoop waiting;
    QObject::connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    worker->start();
    waiting.exec();
    worker->wait();
    return result;
}

}  // namespace receipt_register
