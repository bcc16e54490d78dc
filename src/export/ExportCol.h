#pragma once

#include <QString>

// One cell of the current row.
class TExportCol {
public:
    QString Name;
    QString Text;
    // Set when caller code supplied the text; such a text is written as it stands.
    bool Changed = false;
};
