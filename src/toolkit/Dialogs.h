#pragma once

#include <QMessageBox>
#include <QString>
#include <vector>

// Modal message boxes with the toolkit's Danish captions, centred on the screen.
namespace Dialogs {
// The application title that plain boxes and the error display carry: "Habitra".
QString ApplicationTitle();

enum TMsgDlgButton { mbOK, mbCancel, mbYes, mbNo };
enum TModalResult { mrNone, mrOK, mrCancel, mrYes, mrNo };

// Title "Information", "Fejl", "Advarsel" or "Bekræft" by the icon, as the toolkit names them.
QString CaptionFor(QMessageBox::Icon icon);
// A composed text as a box shows it: each line-break pair ("\n\r") is one line break. The box keeps the
// text as composed in its property "composedText".
QString ShownText(const QString& text);
TModalResult Box(QMessageBox::Icon icon, const QString& title, const QString& text,
                 const std::vector<TMsgDlgButton>& buttons);
TModalResult MessageDlg(const QString& text, QMessageBox::Icon icon,
                        const std::vector<TMsgDlgButton>& buttons);
// A plain box titled with the application title and one OK button.
void ShowMessage(const QString& text);
// The toolkit's delete question: "Slet denne post?" with OK and Annuller; true on OK.
bool ConfirmDelete();
} // namespace Dialogs
