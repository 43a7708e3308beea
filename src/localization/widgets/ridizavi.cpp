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

MakerContacts MakerContacts::fromBuild()
{
    return {QStringLiteral(BARVIK_MAKER_WEB), QStringLiteral(BARVIK_MAKER_MAIL), QStringLiteral(BARVIK_MAKER_MESSENGER),
            QStringLiteral(BARVIK_MAKER_PHONE)};
}

QUrl TAboutBox::webSite() const
{
    // A build that sets the address may give each catalog an entry for it, pointing to that language's page.
    return QUrl(translate(m_contacts.web));
}

QUrl TAboutBox::supportMail() const
{
    QUrl mail(QStringLiteral("mailto:") + m_contacts.mail);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QLatin1String(kProductName));
    mail.setQuery(query);
    return mail;
}

TAboutBox::TAboutBox(UrlOpener& opener, QWidget* parent) : TAboutBox(opener, MakerContacts::fromBuild(), parent) {}

TAboutBox::TAboutBox(UrlOpener& opener, const MakerContacts& contacts, QWidget* parent)
    : QDialog(parent), m_opener(opener), m_contacts(contacts)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(translate("About"));
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(logoPicture());
    auto* product = new QLabel(translate("Barvik pipe cutting system"), this);
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto* version = new QLabel(translate("Ver. %1").arg(QLatin1String(buildinfo::kVersion)), this);
    auto* ok = new QPushButton(translate("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(logo, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1, 1, 2);
    layout->addWidget(version, 1, 1, 1, 2);
    int row = 3;
    auto addRow = [&](const QString& caption, QLabel* value, const char* name) {
        value->setObjectName(QLatin1String(name));
        layout->addWidget(new QLabel(caption, this), row, 1);
        layout->addWidget(value, row, 2);
        ++row;
        return value;
    };
    if (!m_contacts.web.isEmpty()) {
        m_web = addRow(translate("WEB:"), linkLabel(webSite().toString(), this), "lbWeb");
        m_logo = logo;
        logo->setCursor(Qt::PointingHandCursor);
    }
    if (!m_contacts.mail.isEmpty())
        m_mail = addRow(translate("EMAIL:"), linkLabel(m_contacts.mail, this), "lbMail");
    if (!m_contacts.messenger.isEmpty())
        addRow(translate("Messenger:"), new QLabel(m_contacts.messenger, this), "lbMessenger");
    if (!m_contacts.phone.isEmpty())
        addRow(translate("Phone:"), new QLabel(m_contacts.phone, this), "lbPhone");
    layout->addWidget(ok, row, 2, Qt::AlignRight);

    for (QWidget* clickable : {m_logo, m_web, m_mail}) {
        if (clickable)
            clickable->installEventFilter(this);
    }
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched && (watched == m_logo || watched == m_web)) {
            m_opener.open(webSite());
            return true;
        }
        if (watched && watched == m_mail) {
            m_opener.open(supportMail());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace localization
