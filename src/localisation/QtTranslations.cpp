#include "localisation/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

TQtTranslations::TQtTranslations(QObject* owner)
    : TCustomLocalizer(owner), m_folder(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {
    setObjectName(QStringLiteral("QtTranslations1"));
}

TQtTranslations::~TQtTranslations() {
    Remove();
}

QStringList TQtTranslations::CatalogueNames(int language) {
    switch (language) {
    case -1:
        return {QStringLiteral("qt_da")};
    case 1:
        // Bokmål first where it exists; Debian ships Nynorsk only.
        return {QStringLiteral("qt_nb"), QStringLiteral("qt_no"), QStringLiteral("qt_nn")};
    case 2:
        return {QStringLiteral("qt_sv")};
    case 3:
        return {QStringLiteral("qt_de")};
    default:
        return {}; // English is Qt's own
    }
}

void TQtTranslations::Localize() {
    const TCustomLanguageSource* source = Source();
    const int language = source == nullptr ? -1 : source->ActiveLanguage();
    for (const QString& name : CatalogueNames(language)) {
        if (name == m_installed) {
            return;
        }
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, m_folder)) {
            Remove();
            m_translator = std::move(translator);
            QCoreApplication::installTranslator(m_translator.get());
            m_installed = name;
            return;
        }
    }
    Remove();
}

void TQtTranslations::Remove() {
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_installed.clear();
}
