#include "localisation/TextCatalogue.h"

#include "localisation/LocalUtils.h"

#include <QPointer>

namespace {
QPointer<TTextCatalogue> current;
}

TTextCatalogue::TTextCatalogue(QObject* owner) : TCustomLocalizer(owner) {
    setObjectName(QStringLiteral("TextCatalogue1"));
    current = this;
}

TTextCatalogue::~TTextCatalogue() = default;

const QString& TTextCatalogue::SectionName() {
    static const QString name = QStringLiteral("Texts");
    return name;
}

QString TTextCatalogue::Text(const QString& key, const QString& danish) const {
    const auto found = m_texts.constFind(key);
    return found == m_texts.cend() || found->isEmpty() ? danish : *found;
}

void TTextCatalogue::Localize() {
    m_texts.clear();
    TCustomLanguageSource* source = Source();
    if (source == nullptr || source->ActiveLanguage() < 0 ||
        source->ActiveLanguage() >= source->Languages().size()) {
        return;
    }
    source->SetSection(SectionName());
    QStringList entries;
    source->ReadSection(entries);
    for (const QString& entry : entries) {
        m_texts.insert(LocalUtils::NameOf(entry), LocalUtils::ValueOf(entry));
    }
}

TTextCatalogue* TTextCatalogue::Current() {
    return current.data();
}

QString LocalText(const char* key, const char* danish) {
    const QString text = QString::fromUtf8(danish);
    const TTextCatalogue* catalogue = TTextCatalogue::Current();
    return catalogue == nullptr ? text : catalogue->Text(QString::fromLatin1(key), text);
}
