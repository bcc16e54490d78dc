#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

QString Dialogs::ApplicationTitle() {
    return QStringLiteral("Habitra");
}

QString Dialogs::CaptionFor(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Information:
        return QStringLiteral("Information");
    case QMessageBox::Critical:
        return QStringLiteral("Fejl");
    case QMessageBox::Warning:
        return QStringLiteral("Advarsel");
    case QMessageBox::Question:
        return QStringLiteral("Bekræft");
    case QMessageBox::NoIcon:
        break;
    }
    return ApplicationTitle();
}

QString Dialogs::ShownText(const QString& text) {
    // Composed messages break lines with a line feed and a carriage return; a label would show each of
    // the two as a break of its own, so the pair (or the other order) is one break on screen.
    QString shown = text;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

Dialogs::TModalResult Dialogs::Box(QMessageBox::Icon icon, const QString& title, const QString& text,
                                   const std::vector<TMsgDlgButton>& buttons) {
    // Owned by the window in front, so that the box stays in front of it and has no taskbar entry.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) {
        owner = QApplication::activeWindow();
    }
    if (!owner) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->isWindow() && widget->windowType() == Qt::Window) {
                owner = widget;
                break;
            }
        }
    }
    QMessageBox box(icon, title, ShownText(text), QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setProperty("composedText", text);
    std::vector<std::pair<QAbstractButton*, TModalResult>> results;
    for (TMsgDlgButton button : buttons) {
        switch (button) {
        case mbOK:
            results.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mrOK);
            break;
        case mbCancel:
            results.emplace_back(box.addButton(QStringLiteral("Annuller"), QMessageBox::RejectRole),
                                 mrCancel);
            break;
        case mbYes:
            results.emplace_back(box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole), mrYes);
            break;
        case mbNo:
            results.emplace_back(box.addButton(QStringLiteral("Nej"), QMessageBox::NoRole), mrNo);
            break;
        }
    }
    if (!results.empty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(results.front().first));
        box.setEscapeButton(results.size() == 1 ? results.front().first : nullptr);
        for (const auto& [widget, result] : results) {
            if (result == mrCancel || result == mrNo) {
                box.setEscapeButton(widget);
            }
        }
    }
    box.adjustSize();
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        box.move(screen->availableGeometry().center() - box.rect().center());
    }
    box.exec();
    for (const auto& [widget, result] : results) {
        if (box.clickedButton() == widget) {
            return result;
        }
    }
    return buttons.size() == 1 ? results.front().second : mrCancel;
}

Dialogs::TModalResult Dialogs::MessageDlg(const QString& text, QMessageBox::Icon icon,
                                          const std::vector<TMsgDlgButton>& buttons) {
    return Box(icon, CaptionFor(icon), text, buttons);
}

void Dialogs::ShowMessage(const QString& text) {
    Box(QMessageBox::NoIcon, ApplicationTitle(), text, {mbOK});
}

bool Dialogs::ConfirmDelete() {
    return MessageDlg(QStringLiteral("Slet denne post?"), QMessageBox::Question, {mbOK, mbCancel}) == mrOK;
}
