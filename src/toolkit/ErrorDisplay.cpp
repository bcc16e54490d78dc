#include "ErrorDisplay.h"

#include "Dialogs.h"
#include "store/Error.h"

#include <QApplication>
#include <QMessageBox>

namespace {
ErrorDisplay::TDescriber& Describer() {
    static ErrorDisplay::TDescriber describer;
    return describer;
}
} // namespace

void ErrorDisplay::SetDescriber(TDescriber describer) {
    Describer() = std::move(describer);
}

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
        const QString described = Describer() ? Describer()(*own) : QString();
        Show(described.isEmpty() ? own->Message() : described);
    } else {
        Show(QString::fromLocal8Bit(error.what()));
    }
}
