#include "ImportSession.h"

#include "DelimitedReader.h"

TImportSession::TImportSession(TImportText text, THeaderMatcher matcher, TImportValidator validator,
                               TImportConventions regional)
    : m_text(std::move(text)), m_matcher(std::move(matcher)), m_validator(std::move(validator)),
      m_regional(regional), m_encoding(m_text.Detected()) {
    m_readable = m_text.Readable(m_encoding);
    m_separator = QLatin1Char(TDelimitedReader::DetectSeparator(m_readable));
    Parse();
    m_mapping.HasHeadings = !m_records.empty() && m_matcher.LooksLikeHeadings(m_records.front().Cells);
    Propose();
}

void TImportSession::SetEncoding(TImportEncoding encoding) {
    m_encoding = encoding;
    m_readable = m_text.Readable(m_encoding);
    Parse();
    Propose();
}

void TImportSession::SetSeparator(QChar separator) {
    m_separator = separator;
    Parse();
    Propose();
}

void TImportSession::SetHasHeadings(bool headings) {
    m_mapping.HasHeadings = headings;
    Propose();
}

void TImportSession::Parse() {
    m_records = TDelimitedReader::Read(m_readable, m_encoding == ieWindows1252, m_separator.toLatin1());
}

QStringList TImportSession::Headings() const {
    return m_mapping.HasHeadings && !m_records.empty() ? m_records.front().Cells : QStringList();
}

void TImportSession::Propose() {
    qsizetype columns = 0;
    if (m_mapping.HasHeadings && !m_records.empty()) {
        columns = m_records.front().Cells.size();
    } else {
        for (const TImportRecord& record : m_records) {
            columns = std::max(columns, record.Cells.size());
        }
    }
    m_mapping.ColumnFields = m_mapping.HasHeadings ? m_matcher.Propose(Headings()) : QStringList();
    while (m_mapping.ColumnFields.size() < columns) {
        m_mapping.ColumnFields << QString();
    }
    // The conventions of the values in the columns that hold amounts and dates.
    QStringList amounts;
    QStringList dates;
    const int first = m_mapping.HasHeadings ? 1 : 0;
    for (int c = 0; c < int(columns); ++c) {
        const int field = m_validator.FieldIndex(m_mapping.ColumnFields[c]);
        if (field < 0) {
            continue;
        }
        const TFieldType type = m_validator.Fields()[size_t(field)].DataType;
        if (type != ftBCD && type != ftDate) {
            continue;
        }
        QStringList& values = type == ftBCD ? amounts : dates;
        // A sample is enough to tell the conventions.
        for (size_t r = size_t(first); r < m_records.size() && r < size_t(first) + 2000; ++r) {
            if (c < m_records[r].Cells.size() && !m_records[r].Cells[c].trimmed().isEmpty()) {
                values << m_records[r].Cells[c];
            }
        }
    }
    m_mapping.Conventions = TImportConventions::Detect(amounts, dates, m_regional);
}

void TImportSession::SetColumnField(int column, const QString& field) {
    if (column < 0 || column >= ColumnCount()) {
        return;
    }
    if (!field.isEmpty()) {
        for (QString& other : m_mapping.ColumnFields) {
            if (other == field) {
                other.clear();
            }
        }
    }
    m_mapping.ColumnFields[column] = field;
}

std::vector<TImportRow> TImportSession::Rows() const {
    return m_validator.Check(m_records, m_mapping);
}
