#pragma once

#include <QObject>

class QWidget;

// A button that shows only an icon has no text for a screen reader to name it by. This keeps the
// button's accessible name equal to its hint, also when a language switch changes the hint. Owned by
// the button.
class THintName : public QObject {
    Q_OBJECT
public:
    explicit THintName(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_button;
};
