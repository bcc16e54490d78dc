#pragma once

#include "ImportRecord.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <vector>

// Splits delimited text into records: values between separators, a value may be enclosed in double
// quotes, inside which a doubled quote stands for one quote and separators and line breaks are part of
// the value. Lines end in CR LF, LF or CR.
class TDelimitedReader {
public:
    // The records of UTF-8 or Windows-1252 bytes, at most `limit` of them when it is not negative. Both
    // write the separators, quotes and line ends as single bytes, so the bytes are split as they are and
    // only the values are turned into text, one by one.
    static std::vector<TImportRecord> Read(QByteArrayView bytes, bool windows1252, char separator,
                                           int limit = -1);
    // The records of text.
    static std::vector<TImportRecord> Read(QStringView text, QChar separator, int limit = -1);
    // The separator of ";", tab and "," that splits the first lines into the same number of values,
    // more than one; ";" when none does better.
    static char DetectSeparator(QByteArrayView bytes);
    static QChar DetectSeparator(QStringView text);
};
