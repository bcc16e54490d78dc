#pragma once

#include "ImportRecord.h"

#include <QChar>
#include <QString>
#include <vector>

// Splits delimited text into records: values between separators, a value may be enclosed in double
// quotes, inside which a doubled quote stands for one quote and separators and line breaks are part of
// the value. Lines end in CR LF, LF or CR.
class TDelimitedReader {
public:
    // The records of the text, at most `limit` of them when it is not negative.
    static std::vector<TImportRecord> Read(QStringView text, QChar separator, int limit = -1);
    // The separator of ";", tab and "," that splits the first lines into the same number of values,
    // more than one; ";" when none does better.
    static QChar DetectSeparator(QStringView text);
};
