#pragma once

#include "localisation/CustomLocalizer.h"

#include <QHash>

// The texts that code composes itself (messages, prompts, progress lines) in the active language.
// The Danish text is written where it is used; the other languages read it from the language
// file's [Texts] section by its key, and a key the file lacks falls back to the Danish text.
class TTextCatalogue : public TCustomLocalizer {
    Q_OBJECT

public:
    explicit TTextCatalogue(QObject* owner);
    ~TTextCatalogue() override;

    static const QString& SectionName();

    QString Text(const QString& key, const QString& danish) const;
    void Localize() override;

    // The catalogue the program made last, or null before one exists (and in tests that made none).
    static TTextCatalogue* Current();

private:
    QHash<QString, QString> m_texts;
};

// `danish` in the active language of the current catalogue: the key's text from the language file.
QString LocalText(const char* key, const char* danish);
