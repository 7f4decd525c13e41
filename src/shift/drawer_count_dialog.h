#pragma once

#include <QDialog>
#include <QList>

#include "store/drawer_count.h"
#include "store/shift_figures.h"

class QLabel;
class QLineEdit;

namespace shift {

// 交班点钞: before a shift is settled the cashier counts the drawer, by the pieces of each
// denomination or as one sum typed into 实点现金, and sees at once what it should hold (the float
// and 应交现金) and the difference; a difference needs a remark. 确定交班 settles with the count;
// what stands in the way is said in the window, and nothing typed is lost.
class DrawerCountDialog final : public QDialog {
    Q_OBJECT

public:
    DrawerCountDialog(const store::ShiftFigures& figures, common::Money cashFloat,
                      QWidget* parent = nullptr);

    // The count as typed.
    store::DrawerCount count() const;

private:
    QWidget* makeDenominations();
    void countChanged();
    void settle();

    common::Money m_cashDue;
    common::Money m_cashFloat;
    QList<QLineEdit*> m_pieces;  // in the order of store::kDenominationFen
    QList<QLabel*> m_pieceSums;
    QLineEdit* m_counted = nullptr;
    QLabel* m_difference = nullptr;
    QLineEdit* m_remark = nullptr;
    QLabel* m_status = nullptr;
};

// What the cashier is told of a count that cannot be taken.
QString countProblemText(store::CountProblem problem);

}  // namespace shift
