#pragma once

#include <QString>

// One cell of the current row.
class TExportCol {
public:
    QString Name;
    QString Text;
    // Whether the field is empty in this record (its text is empty then, too).
    bool Null = false;
    // Set when caller code supplied the text; such a text is written as it stands.
    bool Changed = false;
};
