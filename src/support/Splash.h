#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QAction;
class TFormShaper;

// The borderless splash window shown while the program starts: only the picture's non-white pixels
// are visible. It goes away as soon as another window of the program is shown or activated.
class TSplash : public QWidget {
    Q_OBJECT
public:
    explicit TSplash(const QImage& picture, QWidget* parent = nullptr);
    ~TSplash() override;

    // Creates the splash with the built-in picture, shows it and paints it at once. The window
    // deletes itself; hold the result in a QPointer when it is needed later.
    static TSplash* ShowSplash();

    QLabel* Image1 = nullptr;
    TFormShaper* FormShaper1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Luk1 = nullptr;

    // Handlers
    void FormCreate();
    void FormDeactivate();
    void Luk1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsOwnWindow(const QWidget* widget) const;

    bool m_gone = false;
};
