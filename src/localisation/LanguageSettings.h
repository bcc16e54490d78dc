#pragma once

#include <QString>
#include <cstdint>

class TCustomLanguageSource;

// Reading direction and character set of the active language. The stored values count while the
// source is at -1 (or read-only); otherwise both come from the language file's "General Settings".
class TLanguageSettings {
public:
    // Raises ELocalError without a source.
    explicit TLanguageSettings(TCustomLanguageSource* source);

    TCustomLanguageSource* Source() const { return m_source; }
    // 0 bdLeftToRight, 1 bdRightToLeft, 2 bdRightToLeftNoAlign, 3 bdRightToLeftReadingOnly.
    int BiDiMode() const;
    void SetBiDiMode(int mode);
    int FontCharSet() const;
    void SetFontCharSet(int charSet);

private:
    QString ReadSetting(const QString& ident, const QString& defaultValue) const;
    void WriteSetting(const QString& ident, const QString& value);

    TCustomLanguageSource* m_source;
    std::uint8_t m_biDiMode = 0;
    std::uint8_t m_fontCharSet = 1;
};
