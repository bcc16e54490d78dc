#include "InsuranceOwner.h"

#include "store/ProgramSettings.h"

namespace {
const QString NameKey = QStringLiteral("Owner.Name");
const QString AddressKey = QStringLiteral("Owner.Address");
const QString InsurerKey = QStringLiteral("Owner.Insurer");
const QString PolicyKey = QStringLiteral("Owner.Policy");
} // namespace

TInsuranceOwner TInsuranceOwner::Load(const TProgramSettings& settings) {
    TInsuranceOwner owner;
    owner.Name = settings.Value(NameKey);
    owner.Address = settings.Value(AddressKey);
    owner.Insurer = settings.Value(InsurerKey);
    owner.Policy = settings.Value(PolicyKey);
    return owner;
}

void TInsuranceOwner::Save(TProgramSettings& settings) const {
    const auto store = [&settings](const QString& key, const QString& value) {
        if (settings.Value(key) != value || !settings.Contains(key)) {
            settings.SetValue(key, value);
        }
    };
    store(NameKey, Name);
    store(AddressKey, Address);
    store(InsurerKey, Insurer);
    store(PolicyKey, Policy);
}
