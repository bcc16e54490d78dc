#include "ErrorDisplay.h"

#include "Dialogs.h"
#include "store/Error.h"

#include <QApplication>
#include <QMessageBox>

QString ErrorDisplay::Text(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

void ErrorDisplay::Show(const QString& message) {
    Dialogs::Box(QMessageBox::Critical, Dialogs::ApplicationTitle(), Text(message), {Dialogs::mbOK});
}

void ErrorDisplay::Show(const std::exception& error) {
    if (const auto* own = dynamic_cast<const EHabitraError*>(&error)) {
        Show(own->Message());
    } else {
        Show(QString::fromLocal8Bit(error.what()));
    }
}
