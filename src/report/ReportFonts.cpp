#include "ReportFonts.h"

#include <QFont>
#include <QStringList>

namespace {
bool& InstalledFlag() {
    static bool installed = false;
    return installed;
}
} // namespace

void ReportFonts::Install() {
    if (InstalledFlag()) {
        return;
    }
    // Liberation Sans has Arial's advance widths.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    InstalledFlag() = true;
}

bool ReportFonts::Installed() {
    return InstalledFlag();
}
