#include "desktop/message_box.h"

#include "localization/translate.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStyle>

namespace desktop {

QString programCaption()
{
    return localization::translate("Barvik pipe cutting system");
}

void showMessageBox(QWidget* owner, const QString& text, calculation::MessageIcon icon, const QString& title)
{
    const bool error = icon == calculation::MessageIcon::Error;
    // Over a modal dialog (the print preview) when one is open, so that the box is seen.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner;
    QMessageBox box(error ? QMessageBox::Critical : QMessageBox::Information,
                    title.isEmpty() ? programCaption() : title, text, QMessageBox::Ok, parent);
    // The desktop theme's icon where it has one; the style's own otherwise.
    const QIcon themed =
        QIcon::fromTheme(error ? QStringLiteral("dialog-error") : QStringLiteral("dialog-information"));
    if (!themed.isNull())
        box.setIconPixmap(themed.pixmap(box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box)));
    box.exec();
}

} // namespace desktop
