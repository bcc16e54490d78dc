#include "localisation/FileLanguageSource.h"

#include "localisation/LocalUtils.h"

TFileLanguageSource::TFileLanguageSource(QObject* owner) : TCustomLanguageSource(owner) {}

QString TFileLanguageSource::GetLanguageFileName(int index) const {
    CheckIndex(index);
    if (index == -1) {
        return {};
    }
    const int first = LocalUtils::IndexOfName(Languages(), LocalUtils::NameOf(Languages().at(index)));
    return LocalUtils::ValueOf(Languages().at(first >= 0 ? first : index));
}
