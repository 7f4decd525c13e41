#include "about/about_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "about/users_guide.h"
#include "platform/clock.h"
#include "widgets/form_style.h"

namespace about {

namespace {

const QString kAuthorLine = QStringLiteral("作者：信息科 QQ：491491");
const QString kWebSiteHost = QStringLiteral("491mx.example");
const QString kWebSiteAddress = QStringLiteral("http://491mx.example/");
const QString kAuthorMail = QStringLiteral("author@491mx.example");
const QString kClockFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
constexpr int kClockPeriodMs = 100;
constexpr int kAddedHeight = 45;

// Found relative to the program, whatever the working folder is; where the guide is missing,
// the link still names the place beside the program.
QUrl guideUrl() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString guide = findUsersGuide(programFolder);
    return QUrl::fromLocalFile(guide.isEmpty() ? usersGuideCandidates(programFolder).constFirst()
                                               : guide);
}

QString linkHtml(const QUrl& target, const QString& caption, bool underlined) {
    return QStringLiteral("<a href=\"%1\" style=\"text-decoration:%2\">%3</a>")
        .arg(target.toString(QUrl::FullyEncoded).toHtmlEscaped(),
             underlined ? QStringLiteral("underline") : QStringLiteral("none"),
             caption.toHtmlEscaped());
}

QLabel* makeLink(QWidget& parent, const QUrl& target, const QString& caption, bool underlined) {
    auto* link = new QLabel(linkHtml(target, caption, underlined), &parent);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(link, &QLabel::linkActivated,
                     [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    return link;
}

}  // namespace

AboutWindow::AboutWindow(const platform::Clock& clock, const common::OfficeNames& office,
                         QWidget* parent)
    : QDialog(parent),
      m_clock(clock),
      标签1(new QLabel(QStringLiteral("491MX医院（住院）计费系统"), this)),
      图片框1(new QLabel(this)),
      超级链接框2(makeLink(*this, guideUrl(), QStringLiteral("使用说明"), false)),
      标签2(new QLabel(kAuthorLine, this)),
      超级链接框1(
          makeLink(*this, QUrl(kWebSiteAddress), QStringLiteral("官方网站 ") + kWebSiteHost, true)),
      时钟1(new QTimer(this)),
      按钮1(new QPushButton(QStringLiteral("确定"), this)),
      标签3(new QLabel(this)),
      标签4(new QLabel(office.hospital + QStringLiteral("　") + office.department, this)),
      标签5(new QLabel(QStringLiteral("版本 " PRODUCT_VERSION), this)) {
    setWindowTitle(QStringLiteral("关于491MX"));
    // Two lines taller than the designed 235 × 235: the office and the version go under the clock.
    widgets::placeWindow(*this, widgets::clientSizeForOuterSize({235, 235 + kAddedHeight}));
    setFont(widgets::formFont());

    widgets::placeControl(*标签1, QStringLiteral("标签1"), {0, 0, 230, 30});
    标签1->setFont(widgets::formFont(16, QFont::Bold));
    标签1->setAlignment(Qt::AlignCenter);

    widgets::placeControl(*图片框1, QStringLiteral("图片框1"), {69, 35, 163, 44});
    图片框1->setPixmap(QPixmap(QStringLiteral(":/logo.gif")));

    widgets::placeControl(*超级链接框2, QStringLiteral("超级链接框2"), {-1, 46, 70, 20});
    超级链接框2->setFont(widgets::formFont(14, QFont::Bold));

    widgets::placeControl(*标签2, QStringLiteral("标签2"), {18, 88, 182, 20});
    标签2->setFont(widgets::formFont(14));

    widgets::placeControl(*超级链接框1, QStringLiteral("超级链接框1"), {25, 113, 175, 20});
    超级链接框1->setFont(widgets::formFont(14));
    超级链接框1->setToolTip(kAuthorMail);

    时钟1->setObjectName(QStringLiteral("时钟1"));
    时钟1->setInterval(kClockPeriodMs);
    connect(时钟1, &QTimer::timeout, this, &AboutWindow::showCurrentTime);

    widgets::placeControl(*按钮1, QStringLiteral("按钮1"), {70, 145, 80, 30});
    connect(按钮1, &QPushButton::clicked, this, &QDialog::accept);

    widgets::placeControl(*标签3, QStringLiteral("标签3"), {0, 185, 229, 20});
    标签3->setAlignment(Qt::AlignCenter);
    标签3->setAutoFillBackground(true);
    QPalette clockColours = 标签3->palette();
    clockColours.setColor(QPalette::Window, Qt::black);
    clockColours.setColor(QPalette::WindowText, QColor(0, 255, 0));
    标签3->setPalette(clockColours);

    widgets::placeControl(*标签4, QStringLiteral("标签4"), {0, 206, 229, 20});
    widgets::placeControl(*标签5, QStringLiteral("标签5"), {0, 226, 229, 20});
    for (QLabel* line : {标签4, 标签5}) {
        line->setAlignment(Qt::AlignCenter);
        line->setAccessibleName(line->text());
    }

    时钟1->start();
}

void AboutWindow::showCurrentTime() {
    标签3->setText(m_clock.now().toString(kClockFormat));
}

}  // namespace about
