#pragma once

#include "localisation/CustomLocalizer.h"

#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

// Gives each edit field of a window the caption the user sees beside it as its accessible name, so
// that a screen reader announces the field as it is labelled. Captions change with the language
// (every language change, after the window's localizer) and with the category page (Refresh).
class TFieldNames : public TCustomLocalizer {
    Q_OBJECT

public:
    explicit TFieldNames(QObject* owner);

    // `caption` gives the text that labels `field` at the moment of asking.
    void Add(QWidget* field, std::function<QString()> caption);
    void Refresh();
    void Localize() override { Refresh(); }

private:
    struct TEntry {
        QPointer<QWidget> Field;
        std::function<QString()> Caption;
    };
    std::vector<TEntry> m_entries;
};
