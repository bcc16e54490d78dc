#include "support/AboutBox.h"

#include "support/AboutFormU.h"
#include "support/SupportResources.h"

#include <QWidget>

TAboutBox::TAboutBox(QObject* owner)
    : QObject(owner),
      m_warning(QStringLiteral("Advarsel: Dette program er beskyttet af loven om ophavsret. Uautoriseret "
                               "kopiering eller distribution af programmet eller dele af det kan medføre "
                               "erstatningsansvar og straf.")),
      m_notice(QStringLiteral("Registrering af indbo og ejendele.")) {}

void TAboutBox::ShowAbout() {
    QWidget* owner = qobject_cast<QWidget*>(parent());
    TAboutWnd window(*this, owner != nullptr ? owner->window() : nullptr);
    window.exec();
}

QImage TAboutBox::DefaultPicture() {
    return SupportResources::Picture(QStringLiteral("About.jpg"));
}
