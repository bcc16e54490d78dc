#pragma once

#include "localisation/FileLanguageSource.h"
#include "localisation/LanguageFile.h"

#include <memory>

// The source the program uses: keeps the active language's file in memory while the index is 0 or
// more and reads and writes the current section of it.
class TLanguageSource : public TFileLanguageSource {
    Q_OBJECT

public:
    explicit TLanguageSource(QObject* owner = nullptr);
    ~TLanguageSource() override;

    TLanguageFile* LanguageFile() const { return m_languageFile.get(); }
    bool SortSections() const { return m_sortSections; }
    void SetSortSections(bool sort) { m_sortSections = sort; }

    void Open() override;
    void Close() override;
    bool IsReadOnly() const override;
    QString ReadString(const QString& ident, const QString& defaultValue) override;
    void WriteString(const QString& ident, const QString& value) override;
    void ReadSection(QStringList& list) override;
    void WriteSection(const QStringList& list) override;
    void EraseSection() override;
    void Clear() override;

private:
    std::unique_ptr<TLanguageFile> m_languageFile;
    bool m_sortSections = false;
};
