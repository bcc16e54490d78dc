#include "DelimitedReader.h"

#include "ImportText.h"

#include <QHash>
#include <array>
#include <cstring>

namespace {
// CR LF, LF and CR each end a line.
int LineBreaks(QByteArrayView bytes) {
    int breaks = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++breaks;
        } else if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) {
            ++breaks;
        }
    }
    return breaks;
}

QString CellText(QByteArrayView bytes, bool windows1252) {
    if (bytes.isEmpty()) {
        return {};
    }
    return windows1252 ? TImportText::FromWindows1252(bytes) : QString::fromUtf8(bytes);
}
} // namespace

bool TImportRecord::IsBlank() const {
    for (const QString& cell : Cells) {
        if (!cell.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

std::vector<TImportRecord> TDelimitedReader::Read(QByteArrayView bytes, bool windows1252, char separator,
                                                  int limit) {
    std::vector<TImportRecord> records;
    const qsizetype n = bytes.size();
    const char* const data = bytes.data();
    qsizetype i = 0;
    int line = 1;
    qsizetype width = 0; // values of the record before, to reserve room for
    while (i < n && (limit < 0 || int(records.size()) < limit)) {
        TImportRecord record;
        record.Line = line;
        record.Cells.reserve(width);
        bool endOfRecord = false;
        while (!endOfRecord) {
            // The value's bytes are those from `from` to `to`, unless a doubled quote or text after the
            // closing quote makes them a copy in `joined`.
            qsizetype from = i;
            qsizetype to = i;
            QByteArray joined;
            bool isJoined = false;
            const auto join = [&] {
                if (!isJoined) {
                    joined = bytes.sliced(from, to - from).toByteArray();
                    isJoined = true;
                }
            };
            if (i < n && data[i] == '"') {
                // A quoted value runs to the quote that is not doubled; what follows it up to the
                // separator is kept as written.
                ++i;
                bool closed = false;
                while (i < n) {
                    const auto* quote = static_cast<const char*>(std::memchr(data + i, '"', size_t(n - i)));
                    const qsizetype end = quote ? quote - data : n;
                    line += LineBreaks(bytes.sliced(i, end - i));
                    if (isJoined) {
                        joined += bytes.sliced(i, end - i);
                    } else {
                        from = i;
                        to = end;
                    }
                    i = end;
                    if (!quote) {
                        break;
                    }
                    if (i + 1 < n && data[i + 1] == '"') {
                        join();
                        joined += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                record.Unclosed = record.Unclosed || !closed;
            }
            const qsizetype start = i;
            while (i < n && data[i] != separator && data[i] != '\n' && data[i] != '\r') {
                ++i;
            }
            if (i > start) {
                if (to > from || isJoined) {
                    join();
                    joined += bytes.sliced(start, i - start);
                } else {
                    from = start;
                    to = i;
                }
            }
            record.Cells.append(
                CellText(isJoined ? QByteArrayView(joined) : bytes.sliced(from, to - from), windows1252));
            if (i < n && data[i] == separator) {
                ++i;
                continue;
            }
            endOfRecord = true;
            if (i < n) {
                if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') {
                    ++i;
                }
                ++i;
                ++line;
            }
        }
        width = record.Cells.size();
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<TImportRecord> TDelimitedReader::Read(QStringView text, QChar separator, int limit) {
    return Read(text.toUtf8(), false, separator.toLatin1(), limit);
}

QChar TDelimitedReader::DetectSeparator(QStringView text) {
    return QLatin1Char(DetectSeparator(text.toUtf8()));
}

char TDelimitedReader::DetectSeparator(QByteArrayView bytes) {
    constexpr int sample = 50;
    const std::array<char, 3> candidates{';', '\t', ','};
    char best = candidates[0];
    int bestScore = 0;
    for (const char separator : candidates) {
        // Windows-1252 read as UTF-8 splits the same: only the values' texts would differ.
        const std::vector<TImportRecord> records = Read(bytes, false, separator, sample);
        // The most common number of values among the lines that are not blank, and how many lines have it.
        QHash<qsizetype, int> counts;
        for (const TImportRecord& record : records) {
            if (!record.IsBlank() && record.Cells.size() > 1) {
                ++counts[record.Cells.size()];
            }
        }
        int score = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            score = std::max(score, it.value());
        }
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}
