#pragma once

#include "HeaderMatcher.h"
#include "ImportMapping.h"
#include "ImportRecord.h"
#include "ImportRow.h"
#include "ImportText.h"
#include "ImportValidator.h"

#include <QChar>
#include <vector>

// One file on its way in: its text read by the chosen encoding and separator, the mapping proposed from
// its headings and conventions detected from its values, all of which the user may change, and the rows
// checked against the register.
class TImportSession {
public:
    TImportSession(TImportText text, THeaderMatcher matcher, TImportValidator validator,
                   TImportConventions regional);

    TImportEncoding Encoding() const { return m_encoding; }
    QChar Separator() const { return m_separator; }
    // A new encoding or separator reads the file again and proposes the mapping anew.
    void SetEncoding(TImportEncoding encoding);
    void SetSeparator(QChar separator);
    // Whether the first line holds headings: the mapping is proposed anew from them (or left empty).
    void SetHasHeadings(bool headings);

    const std::vector<TImportRecord>& Records() const { return m_records; }
    int ColumnCount() const { return int(m_mapping.ColumnFields.size()); }
    QStringList Headings() const;
    const TImportMapping& Mapping() const { return m_mapping; }
    // Maps a column to a field (empty: ignored); a column that had the field before is ignored then.
    void SetColumnField(int column, const QString& field);
    void SetFixedCategory(const QString& value) { m_mapping.FixedCategory = value; }
    void SetConventions(const TImportConventions& conventions) { m_mapping.Conventions = conventions; }
    void SetImportDuplicates(bool duplicates) { m_mapping.ImportDuplicates = duplicates; }

    // Every row checked by the mapping in force.
    std::vector<TImportRow> Rows() const;
    const TImportValidator& Validator() const { return m_validator; }

private:
    void Parse();
    void Propose();

    TImportText m_text;
    THeaderMatcher m_matcher;
    TImportValidator m_validator;
    TImportConventions m_regional;
    TImportEncoding m_encoding;
    QChar m_separator;
    QByteArray m_readable; // the file's bytes as the reader takes them, shared with m_text where they can be
    std::vector<TImportRecord> m_records;
    TImportMapping m_mapping;
};
