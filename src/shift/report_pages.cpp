#include "shift/report_pages.h"

#include <QStringList>
#include <functional>

#include "receipt/fee_category.h"

namespace shift {

namespace {

// Positions in tenths of a millimetre on A4 (2100 × 2970).
constexpr int kLeft = 200;
constexpr int kRight = 1900;
constexpr int kTop = 150;
constexpr int kFooter = 2830;
constexpr int kLastLine = 2750;
constexpr int kLineStep = 55;
constexpr int kGap = 30;
// Between a right-aligned column and the next.
constexpr int kColumnGap = 40;
constexpr int kPageCentre = 1050;
// The event list's columns: 时间, 事件, 住院号, 姓名, 付款方式, 合计, 补收, 退款.
constexpr int kEventColumns[] = {200, 580, 780, 980, 1150, 1420, 1580, 1740};
// The day's sheet's columns: 收费员, 结算号, 笔数, 合计, 预交, 补收, 退款, 欠费, 收预交金,
// 退预交金, 应交现金, 长短款.
constexpr int kDaySheetColumns[] = {200, 360,  470,  540,  690,  840,
                                    990, 1140, 1290, 1440, 1590, 1740};
// The payment methods' table: 付款方式, 预交金收取, 预交金退还, 补收, 退款, 合计.
constexpr int kMethodColumns[] = {200, 480, 760, 1040, 1320, 1600};
// Three figures a row.
constexpr int kFigureColumns[] = {200, 770, 1340};
constexpr int kCountColumns[] = {200, 620, 1040, 1460};
constexpr int kSignatureRoom = 200;
// Below the top of a line of text, under its characters.
constexpr int kUnderline = 45;

// Lays out text line by line over as many pages as it takes.
class PageWriter {
public:
    // continuation is what the top of every further page repeats.
    explicit PageWriter(QString continuation) : m_continuation(std::move(continuation)) {
        m_pages.emplace_back();
    }

    void skip(int height) { m_y += height; }

    void text(int x, const QString& text) { page().texts.push_back({x, m_y, text}); }
    void centred(const QString& text) {
        this->text(kPageCentre - platform::textAdvance(text) / 2, text);
    }
    void rule() {
        page().lines.emplace_back(kLeft, m_y, kRight, m_y);
        m_y += kGap;
    }
    // A line just under the text of this line, from one x to another.
    void underline(int fromX, int toX) {
        page().lines.emplace_back(fromX, m_y + kUnderline, toX, m_y + kUnderline);
    }
    // Texts side by side at the given columns, then the next line. The columns from
    // firstRightAligned on (counts and amounts) end where the next column begins, less a gap,
    // the last one at the right margin, so that their figures line up.
    template <std::size_t N>
    void row(const int (&columns)[N], const QStringList& cells, std::size_t firstRightAligned = N) {
        for (std::size_t column = 0; column < N && column < std::size_t(cells.size()); ++column) {
            const QString& cell = cells[static_cast<qsizetype>(column)];
            if (column < firstRightAligned) {
                text(columns[column], cell);
                continue;
            }
            const int end = column + 1 < N ? columns[column + 1] - kColumnGap : kRight;
            text(end - platform::textAdvance(cell), cell);
        }
        m_y += kLineStep;
    }
    // Starts a new page when fewer than height units are left on this one; what the new page
    // starts with comes from heading.
    void needRoom(int height, const std::function<void(PageWriter&)>& heading = {}) {
        if (m_y + height <= kLastLine) {
            return;
        }
        m_pages.emplace_back();
        m_y = kTop;
        centred(m_continuation);
        m_y += kLineStep + kGap;
        if (heading) {
            heading(*this);
        }
    }

    // The pages, each numbered.
    std::vector<platform::PageContent> finish() {
        const int count = static_cast<int>(m_pages.size());
        for (int number = 1; number <= count; ++number) {
            const QString footer = QStringLiteral("第 %1 页，共 %2 页").arg(number).arg(count);
            m_pages[number - 1].texts.push_back(
                {kPageCentre - platform::textAdvance(footer) / 2, kFooter, footer});
        }
        return std::move(m_pages);
    }

private:
    platform::PageContent& page() { return m_pages.back(); }

    QString m_continuation;
    std::vector<platform::PageContent> m_pages;
    int m_y = kTop;
};

QStringList figureTexts(const QList<Figure>& figures) {
    QStringList texts;
    for (const Figure& figure : figures) {
        texts.append(figure.name + QStringLiteral("：") + figure.value);
    }
    return texts;
}

// The figures, as many a row as there are columns.
template <std::size_t N>
void figureRows(PageWriter& writer, const int (&columns)[N], const QList<Figure>& figures) {
    const QStringList texts = figureTexts(figures);
    for (qsizetype first = 0; first < texts.size(); first += N) {
        writer.row(columns, texts.mid(first, N));
    }
}

// Each signer's caption with a line to sign on, side by side, some room below the last line.
void signatures(PageWriter& writer, const QStringList& signers) {
    constexpr int kSignerWidth = 570;
    constexpr int kSignatureLength = 330;
    writer.needRoom(kSignatureRoom);
    writer.skip(2 * kLineStep);
    int x = kLeft;
    for (const QString& signer : signers) {
        const QString caption = signer + QStringLiteral("：");
        writer.text(x, caption);
        const int lineStart = x + platform::textAdvance(caption);
        writer.underline(lineStart, lineStart + kSignatureLength);
        x += kSignerWidth;
    }
    writer.skip(kLineStep);
}

// The hospital and the department over the title, whose report this is.
void officeLine(PageWriter& writer, const common::OfficeNames& office) {
    writer.centred(office.hospital + QStringLiteral("　") + office.department);
    writer.skip(kLineStep);
}

}  // namespace

// A table's heading and rows, the heading repeated on every further page; the columns from
// firstNumber on right-aligned, headings and all.
template <std::size_t N>
void tableRows(PageWriter& writer, const int (&columns)[N], std::size_t firstNumber,
               const QStringList& heading, const QList<QStringList>& rows) {
    const auto headingRow = [&](PageWriter& page) {
        page.row(columns, heading, firstNumber);
        page.rule();
    };
    writer.needRoom(2 * kLineStep + kGap);
    headingRow(writer);
    for (const QStringList& row : rows) {
        writer.needRoom(kLineStep, headingRow);
        writer.row(columns, row, firstNumber);
    }
}

std::vector<platform::PageContent> shiftReportPages(const ShiftReport& report,
                                                    const common::OfficeNames& office) {
    const QString title =
        report.isSettled() ? kReportTitle : kReportTitle + QStringLiteral("（未交班）");
    const QString number = report.isSettled() ? QStringLiteral("结算号：%1").arg(report.number)
                                              : QStringLiteral("未交班");
    PageWriter writer(QStringLiteral("%1　%2（续）").arg(kReportTitle, number));
    officeLine(writer, office);
    writer.centred(title);
    writer.skip(kLineStep + kGap + kGap);
    figureRows(writer, kFigureColumns, headerFigures(report));
    writer.rule();
    figureRows(writer, kCountColumns, countFigures(report.figures));
    writer.rule();
    const QList<Figure> amounts = amountFigures(report.figures);
    figureRows(writer, kFigureColumns, amounts.first(receipt::kFeeCategoryCount));
    writer.rule();
    figureRows(writer, kFigureColumns, amounts.sliced(receipt::kFeeCategoryCount));
    writer.rule();
    tableRows(writer, kMethodColumns, kFirstMethodAmount, methodColumns(),
              methodRows(report.figures));
    writer.rule();
    // The cash figures one a line: the capitals and a remark run long.
    for (const Figure& figure : cashFigures(report)) {
        writer.needRoom(kLineStep);
        writer.row(kFigureColumns, figureTexts({figure}));
    }
    writer.rule();

    QList<QStringList> events;
    for (const store::JournalEntry& entry : report.entries) {
        events.append(eventCells(entry));
    }
    tableRows(writer, kEventColumns, kFirstEventAmount, eventColumns(), events);
    signatures(writer,
               {QStringLiteral("交班人"), QStringLiteral("接班人"), QStringLiteral("审核")});
    return writer.finish();
}

std::vector<platform::PageContent> daySheetPages(const DaySheet& sheet,
                                                 const common::OfficeNames& office) {
    const QString date = QStringLiteral("日期：") + sheet.day.toString(Qt::ISODate);
    PageWriter writer(QStringLiteral("%1　%2（续）").arg(kDaySheetTitle, date));
    officeLine(writer, office);
    writer.centred(kDaySheetTitle);
    writer.skip(kLineStep + kGap + kGap);
    writer.row(kFigureColumns, {date});
    writer.rule();
    const auto heading = [](PageWriter& page) {
        page.row(kDaySheetColumns, daySheetColumns(), kFirstDaySheetNumber);
        page.rule();
    };
    heading(writer);
    for (const DaySheetLine& line : sheet.shifts) {
        writer.needRoom(kLineStep, heading);
        writer.row(kDaySheetColumns, daySheetCells(line), kFirstDaySheetNumber);
    }
    writer.needRoom(3 * kLineStep + kGap, heading);
    if (sheet.hasOpenShifts()) {
        writer.text(kLeft, openShiftsWarning(sheet));
        writer.skip(kLineStep);
    }
    writer.rule();
    writer.row(kDaySheetColumns, daySheetCells(sheet.total), kFirstDaySheetNumber);
    if (sheet.hasOpenShifts()) {
        writer.row(kDaySheetColumns, daySheetCells(sheet.openTotal), kFirstDaySheetNumber);
    }
    writer.rule();
    tableRows(writer, kMethodColumns, kFirstMethodAmount, methodColumns(),
              daySheetMethodRows(sheet));
    signatures(writer,
               {QStringLiteral("交款人"), QStringLiteral("收款人"), QStringLiteral("审核")});
    return writer.finish();
}

}  // namespace shift
