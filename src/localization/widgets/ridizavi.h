#pragma once

#include <QDialog>
#include <QUrl>

namespace localization {

// The shell's "open" operation for web pages and new mails; tests record the addresses instead.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl& url) = 0;
};

// Opens through the desktop's associated programs.
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QUrl& url) override;
};

// How to reach the maker. The build sets them (all empty by default); an empty one hides its row.
struct MakerContacts {
    QString web;
    QString mail;
    QString messenger;
    QString phone;

    static MakerContacts fromBuild();
};

// The About box: product, version and how to reach the maker, its texts in the current language.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(UrlOpener& opener, QWidget* parent = nullptr);
    TAboutBox(UrlOpener& opener, const MakerContacts& contacts, QWidget* parent = nullptr);

    // The maker's web site in the current language (each catalog may point to its own page).
    QUrl webSite() const;
    // A new mail to the maker's support, subject the product name.
    QUrl supportMail() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UrlOpener& m_opener;
    MakerContacts m_contacts;
    QWidget* m_logo = nullptr;
    QWidget* m_web = nullptr;
    QWidget* m_mail = nullptr;
};

} // namespace localization
