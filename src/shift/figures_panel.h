#pragma once

#include <QHash>
#include <QWidget>

class QLabel;
class QTableWidget;

namespace shift {

struct ShiftReport;

// A shift's figures as a window shows them: the header, the counts of each kind, the amounts and
// the drawer's cash, each a caption and its value, beside a table of each payment method's
// amounts (按付款方式). Each value is a label whose object and accessible name are its caption
// (结算号, 新开, 床位费, 应交现金...). A figure that a report does not have (交班时间 of the open
// shift) is hidden.
class FiguresPanel final : public QWidget {
    Q_OBJECT

public:
    explicit FiguresPanel(QWidget* parent = nullptr);

    void showReport(const ShiftReport& report);

private:
    // Each figure's value and its caption.
    QHash<QString, std::pair<QLabel*, QLabel*>> m_figures;
    QTableWidget* m_methods = nullptr;
};

}  // namespace shift
