#pragma once

#include "DataExportAdvancedText.h"
#include "ExportFormats.h"
#include "store/NumberFormat.h"

#include <QHash>

// Adds the caption line and the formatting of cells by column type.
class TDataExportFormatText : public TDataExportAdvancedText {
    Q_OBJECT
public:
    explicit TDataExportFormatText(const TFormatSettings& settings, QObject* owner = nullptr);

    bool AllowCaptions() const { return m_allowCaptions; }
    void SetAllowCaptions(bool value) { m_allowCaptions = value; }
    TExportFormats& Formats() { return m_formats; }
    const TExportFormats& Formats() const { return m_formats; }
    // Per field name: a caption in place of the field's display label, a pattern in place of the type's.
    QHash<QString, QString>& Captions() { return m_captions; }
    QHash<QString, QString>& UserFormats() { return m_userFormats; }

    // A cell's stored text reformatted by its column type; empty when it cannot be read or formatted.
    static QString FormatText(TExportColType type, const QString& pattern, const QString& text,
                              const TFormatSettings& settings);

protected:
    void BuildColumns() override;
    void WriteCaptions() override;
    QString FormatData(const TExportColumn& column, const TExportCol& col) override;

private:
    // A number column's mask, read once per pattern.
    struct TColumnMask {
        QString Pattern;
        TNumberMask Mask;
    };

    static QString FormatNumberText(TExportColType type, const TNumberMask& mask, const QString& text,
                                    const TFormatSettings& settings);

    bool m_allowCaptions = true;
    TExportFormats m_formats;
    QHash<QString, QString> m_captions;
    QHash<QString, QString> m_userFormats;
    // Per field: a date whose text is written in the column's own pattern, which reads back as it was
    // written, so that the text is the cell.
    std::vector<bool> m_dateAsWritten;
    std::vector<TColumnMask> m_masks;
};
