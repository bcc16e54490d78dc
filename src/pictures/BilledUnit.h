#pragma once

#include "PictureFolder.h"

#include <QWidget>
#include <functional>

class QScrollArea;
class TPictureLabel;

// The full-size picture window: created once at start, shown beside the main window and hidden
// when closed.
class TBilledForm : public QWidget {
    Q_OBJECT
public:
    // `currentFoto` gives the current item's picture number as text.
    TBilledForm(TPictureFolder folder, std::function<QString()> currentFoto, QWidget* parent = nullptr);

    TPictureLabel* Image1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;

    // Shows the window; when it was hidden its show step runs first, which may raise an error
    // (the placeholder could not be read either), and the window then stays hidden.
    void ShowWindow();
    // The show step: title := picture number, picture := the item's file or the placeholder.
    void FormShow();
    void SetPicture(const QImage& image);

private:
    TPictureFolder m_folder;
    std::function<QString()> m_currentFoto;
};
