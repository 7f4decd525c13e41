#include "statistics/statistics_window.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "common/dates.h"
#include "platform/clock.h"
#include "statistics/period_run.h"
#include "statistics/statistics_report.h"
#include "widgets/controls.h"
#include "widgets/date_range.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"

namespace statistics {

namespace {

QLabel* makeCentredLabel(QWidget* parent, const QString& name, const QString& caption,
                         QRect geometry) {
    QLabel* label = widgets::makeLabel(parent, name, caption, geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

StatisticsWindow::StatisticsWindow(widgets::MessageBoxes& messageBoxes,
                                   const platform::Clock& clock, store::Database& database,
                                   QWidget* parent)
    : QDialog(parent), m_messageBoxes(messageBoxes), m_database(database) {
    setWindowTitle(QStringLiteral("统计"));
    widgets::placeWindow(*this, widgets::clientSizeForOuterSize({320, 110}));
    setFont(widgets::formFont());

    标签1 = makeCentredLabel(this, QStringLiteral("标签1"), QStringLiteral("从"), {10, 10, 20, 20});
    日期框1 = widgets::makeDateBox(this, QStringLiteral("日期框1"), {40, 10, 110, 20});
    标签2 =
        makeCentredLabel(this, QStringLiteral("标签2"), QStringLiteral("至"), {160, 10, 20, 20});
    日期框2 = widgets::makeDateBox(this, QStringLiteral("日期框2"), {190, 10, 110, 20});
    标签3 = makeCentredLabel(this, QStringLiteral("标签3"),
                             QStringLiteral("请输入统计起止（出院）日期。"), {10, 45, 200, 20});
    按钮1 = widgets::makeButton(this, QStringLiteral("按钮1"), QStringLiteral("统计"),
                                {250, 45, 50, 25});

    const QDateTime today = common::startOfDay(clock.now().date());
    日期框1->setDateTime(today);
    日期框2->setDateTime(today);

    connect(日期框1, &QDateEdit::dateTimeChanged, this, [this] { checkRange(*日期框1, *日期框2); });
    connect(日期框2, &QDateEdit::dateTimeChanged, this, [this] { checkRange(*日期框2, *日期框1); });
    connect(按钮1, &QPushButton::clicked, this, &StatisticsWindow::runStatistics);
}

void StatisticsWindow::checkRange(QDateEdit& changed, const QDateEdit& other) {
    const bool valid = widgets::keepDateRange(changed, other, *日期框1, *日期框2);
    标签3->setText(valid ? QString() : QStringLiteral("日期输入错误！"));
    按钮1->setEnabled(valid);
}

void StatisticsWindow::runStatistics() {
    const PeriodRun run = sumPeriod(m_database, 日期框1->dateTime(), 日期框2->dateTime());
    if (!run.error.isEmpty()) {
        m_messageBoxes.show(this, widgets::errorMessage(run.error));
        return;
    }
    if (run.sums.statCount <= 0) {
        m_messageBoxes.show(this,
                            {QStringLiteral("没有这个时间段的收据。"), QStringLiteral("对不起"),
                             widgets::MessageButtons::Ok, widgets::MessageIcon::Information});
        return;
    }
    m_messageBoxes.show(this, {buildReport(run.sums), QStringLiteral("统计结果"),
                               widgets::MessageButtons::Ok, widgets::MessageIcon::None});
}

}  // namespace statistics
