#pragma once

#include <QString>

class TProgramSettings;

// Whose belongings the insurance report proves: all optional, asked once and kept in the program's
// own settings.
struct TInsuranceOwner {
    QString Name;
    QString Address; // may run over several lines
    QString Insurer;
    QString Policy;

    static TInsuranceOwner Load(const TProgramSettings& settings);
    // Stores what changed; raises EDatabaseError when the settings cannot be written.
    void Save(TProgramSettings& settings) const;
    bool operator==(const TInsuranceOwner&) const = default;
};
