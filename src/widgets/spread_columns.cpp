#include "widgets/spread_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <numeric>

namespace widgets {

namespace {

const QString kSpreaderName = QStringLiteral("columnSpreader");

class ColumnSpreader final : public QObject {
public:
    ColumnSpreader(QTableView& table, QList<int> naturalWidths)
        : QObject(&table),
          m_table(table),
          m_naturalWidths(std::move(naturalWidths)),
          m_viewport(table.viewport()) {
        setObjectName(kSpreaderName);
        m_table.horizontalHeader()->setStretchLastSection(false);
        m_viewport->installEventFilter(this);
    }

    void spread() {
        const int columns = m_table.model() == nullptr ? 0 : m_table.model()->columnCount();
        QList<int> widths;
        for (int column = 0; column < columns; ++column) {
            widths.append(naturalWidth(column));
        }
        const int natural = std::accumulate(widths.begin(), widths.end(), 0);
        const int room = m_table.viewport()->width() - natural;
        if (natural > 0 && room > 0) {
            int shared = 0;
            for (int column = 0; column < columns; ++column) {
                // The last column takes what rounding left, so the columns end at the edge.
                const int share = column + 1 == columns
                                      ? room - shared
                                      : static_cast<int>(qint64(room) * widths[column] / natural);
                widths[column] += share;
                shared += share;
            }
        }
        for (int column = 0; column < columns; ++column) {
            m_table.setColumnWidth(column, widths[column]);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_viewport && event->type() == QEvent::Resize) {
            spread();
        }
        return false;
    }

private:
    int naturalWidth(int column) const {
        if (column < m_naturalWidths.size()) {
            return m_naturalWidths[column];
        }
        // Public as the item view's, protected as the table's.
        const QAbstractItemView& view = m_table;
        return std::max(view.sizeHintForColumn(column),
                        m_table.horizontalHeader()->sectionSizeHint(column));
    }

    QTableView& m_table;
    QList<int> m_naturalWidths;
    // Kept, not asked of the table: the viewport's last events come while the table is being
    // destroyed, when it can no longer answer.
    QWidget* m_viewport;
};

ColumnSpreader* spreaderOf(QTableView& table) {
    // Only a spreader is given its name.
    return static_cast<ColumnSpreader*>(
        table.findChild<QObject*>(kSpreaderName, Qt::FindDirectChildrenOnly));
}

}  // namespace

void spreadColumns(QTableView& table, const QList<int>& naturalWidths) {
    delete spreaderOf(table);
    (new ColumnSpreader(table, naturalWidths))->spread();
}

void fitColumns(QTableView& table) {
    if (ColumnSpreader* spreader = spreaderOf(table)) {
        spreader->spread();
    } else {
        table.resizeColumnsToContents();
    }
}

}  // namespace widgets
