#pragma once

#include "localisation/CustomLocalizer.h"

#include <QString>
#include <memory>

class QTranslator;

// Qt's own texts (the buttons of the file dialog, the print dialog and the preview) in the active
// language: follows its language source and installs Qt's translation catalogue for that language.
class TQtTranslations : public TCustomLocalizer {
    Q_OBJECT

public:
    explicit TQtTranslations(QObject* owner);
    ~TQtTranslations() override;

    // Where Qt's catalogues are looked for; Qt's own translations folder unless set.
    void SetFolder(const QString& folder) { m_folder = folder; }
    // The catalogue names tried for a Language index, in order ("qt_da" for -1 Danish; none for English).
    static QStringList CatalogueNames(int language);
    // The catalogue installed now; empty when Qt speaks its own English.
    const QString& Installed() const { return m_installed; }

    void Localize() override;

private:
    void Remove();

    QString m_folder;
    QString m_installed;
    std::unique_ptr<QTranslator> m_translator;
};
