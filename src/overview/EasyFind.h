#pragma once

#include "EasyFindTexts.h"
#include "store/Error.h"
#include "toolkit/ComponentModel.h"

#include <QChar>
#include <QString>

class TDataSource;
class TField;
class TTable;

// Errors of the search component.
class EDBSearchError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

class EDBSearchPatternNotFound : public EDBSearchError {
public:
    using EDBSearchError::EDBSearchError;
};

// Incremental search over a data source's table: Find searches from the first record, FindNext from
// the record after the current one; a hit becomes the current record, a miss leaves the table where
// it was. Without wildcards the search text matches anywhere in the field's text; with them it must
// match the whole text, MultiCharPattern standing for any run of characters and SingleCharPattern for
// one character.
class TEasyFind : public TComponent {
    Q_OBJECT
public:
    static constexpr int MaxText = 255;
    // A memo is read in whole pieces of 255 bytes until 65274 bytes are reached or passed.
    static constexpr int MemoBytes = (65274 + 254) / 255 * 255;

    explicit TEasyFind(QObject* owner = nullptr);

    const QString& MultiCharPattern() const { return m_multiCharPattern; }
    void SetMultiCharPattern(const QString& pattern) { m_multiCharPattern = pattern; }
    QChar SingleCharPattern() const { return m_singleCharPattern; }
    void SetSingleCharPattern(QChar pattern) { m_singleCharPattern = pattern; }
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool value) { m_caseSensitive = value; }
    bool AllowWildcards() const { return m_allowWildcards; }
    void SetAllowWildcards(bool value) { m_allowWildcards = value; }
    TDataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(TDataSource* source) { m_dataSource = source; }
    const QString& SearchField() const { return m_searchField; }
    void SetSearchField(const QString& name) { m_searchField = name; }
    const QString& SearchKey() const { return m_searchKey; }
    void SetSearchKey(const QString& key) { m_searchKey = key; }

    void Find();
    // Raises EDBSearchError when no Find of the same text and field came first.
    void FindNext();
    // Ends a running search after the record it is on.
    void Stop() { m_stop = true; }
    // Whether the last search ended on a hit.
    bool Found() const { return m_found; }

    // Whether the search text matches a field's text under the present settings.
    bool Matches(const QString& key, const QString& text) const;
    // A field's text as the search reads it: a memo's content up to 65280 bytes, any other field's
    // edit text up to 255 characters.
    static QString SearchText(const TField& field, const QVariant& value);

private:
    // Moves to where a search starts, the first record or the one after the current; true at the end
    // of the set.
    bool MoveToStart(TTable& table);
    // Makes a hit current with the moves a search has always made, so that the controls hear of it once.
    void GoTo(TTable& table, int hit);
    // The first row from `from` on whose field matches the key, or -1 (also when stopped).
    int Scan(const TTable& table, const TField& searched, const QString& key, int from);

    QString m_multiCharPattern = QStringLiteral("%");
    QChar m_singleCharPattern = QLatin1Char('_');
    bool m_caseSensitive = false;
    bool m_allowWildcards = false;
    TDataSource* m_dataSource = nullptr;
    QString m_searchField;
    QString m_searchKey;

    QString m_lastKey;   // upper case, of the last Find
    QString m_lastField; // upper case, of the last Find
    bool m_stop = false;
    bool m_findNext = false;
    bool m_found = false;
    TEasyFindTexts m_texts; // of the last search without wildcards
};
