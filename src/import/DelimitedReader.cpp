#include "DelimitedReader.h"

#include <QHash>
#include <array>

namespace {
// CR LF, LF and CR each end a line.
int LineBreaks(QStringView text) {
    int breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n')) {
            ++breaks;
        } else if (text[i] == QLatin1Char('\r') &&
                   (i + 1 >= text.size() || text[i + 1] != QLatin1Char('\n'))) {
            ++breaks;
        }
    }
    return breaks;
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

std::vector<TImportRecord> TDelimitedReader::Read(QStringView text, QChar separator, int limit) {
    std::vector<TImportRecord> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    qsizetype width = 0; // values of the record before, to reserve room for
    while (i < n && (limit < 0 || int(records.size()) < limit)) {
        TImportRecord record;
        record.Line = line;
        record.Cells.reserve(width);
        bool endOfRecord = false;
        while (!endOfRecord) {
            QString cell;
            if (i < n && text[i] == QLatin1Char('"')) {
                // A quoted value runs to the quote that is not doubled; what follows it up to the
                // separator is kept as written.
                ++i;
                bool closed = false;
                while (i < n) {
                    const qsizetype quote = text.indexOf(QLatin1Char('"'), i);
                    const qsizetype end = quote < 0 ? n : quote;
                    const QStringView chunk = text.sliced(i, end - i);
                    line += LineBreaks(chunk);
                    if (cell.isEmpty()) {
                        cell = chunk.toString();
                    } else {
                        cell += chunk;
                    }
                    i = end;
                    if (quote < 0) {
                        break;
                    }
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
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
            while (i < n && text[i] != separator && text[i] != QLatin1Char('\n') &&
                   text[i] != QLatin1Char('\r')) {
                ++i;
            }
            if (i > start) {
                cell += text.sliced(start, i - start);
            }
            record.Cells.append(std::move(cell));
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            endOfRecord = true;
            if (i < n) {
                if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
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

QChar TDelimitedReader::DetectSeparator(QStringView text) {
    constexpr int sample = 50;
    const std::array<QChar, 3> candidates{QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')};
    QChar best = candidates[0];
    int bestScore = 0;
    for (const QChar separator : candidates) {
        const std::vector<TImportRecord> records = Read(text, separator, sample);
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
