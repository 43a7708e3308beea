#include "ridizavi.h"

#include "localization/translate.h"

#include "build_info.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrlQuery>

namespace localization {

namespace {

constexpr auto kSupportAddress = "support@barvik.example";
constexpr auto kProductName = "Barvik pipe cutting system";

// The product logo: a bar with its saw cuts.
QPixmap logoPicture()
{
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(70, 110, 160));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4, 24, 56, 16), 3, 3);
    painter.setPen(QPen(Qt::white, 2));
    for (int x : {22, 36, 50})
        painter.drawLine(x, 22, x, 42);
    return picture;
}

QLabel* linkLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: blue;"));
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

void DesktopUrlOpener::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

QUrl TAboutBox::webSite()
{
    return QUrl(translate("https://www.barvik.example/"));
}

QUrl TAboutBox::supportMail()
{
    QUrl mail(QStringLiteral("mailto:") + QLatin1String(kSupportAddress));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QLatin1String(kProductName));
    mail.setQuery(query);
    return mail;
}

TAboutBox::TAboutBox(UrlOpener& opener, QWidget* parent) : QDialog(parent), m_opener(opener)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(translate("About"));
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(logoPicture());
    logo->setCursor(Qt::PointingHandCursor);
    auto* product = new QLabel(translate(kProductName), this);
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto* version = new QLabel(translate("Ver. %1").arg(QLatin1String(buildinfo::kVersion)), this);
    QLabel* web = linkLabel(webSite().toString(), this);
    web->setObjectName(QStringLiteral("lbWeb"));
    QLabel* mail = linkLabel(QLatin1String(kSupportAddress), this);
    mail->setObjectName(QStringLiteral("lbMail"));
    auto* ok = new QPushButton(translate("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(logo, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1, 1, 2);
    layout->addWidget(version, 1, 1, 1, 2);
    layout->addWidget(new QLabel(translate("WEB:"), this), 3, 1);
    layout->addWidget(web, 3, 2);
    layout->addWidget(new QLabel(translate("EMAIL:"), this), 4, 1);
    layout->addWidget(mail, 4, 2);
    layout->addWidget(new QLabel(translate("Phone:"), this), 5, 1);
    layout->addWidget(new QLabel(QStringLiteral("+1 555 0100"), this), 5, 2);
    layout->addWidget(ok, 6, 2, Qt::AlignRight);

    m_logo = logo;
    m_web = web;
    m_mail = mail;
    for (QWidget* clickable : {m_logo, m_web, m_mail})
        clickable->installEventFilter(this);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_logo || watched == m_web) {
            m_opener.open(webSite());
            return true;
        }
        if (watched == m_mail) {
            m_opener.open(supportMail());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace localization
