#pragma once

#include <QString>

// The fixed English error texts of the localisation components.
namespace LocalRConsts {
inline QString SIndexOutOfBounds() {
    return QStringLiteral("Index out of bounds (%1)");
}
inline QString SReadOnlySource() {
    return QStringLiteral("Cannot write to source file (ReadOnly = True)!");
}
inline QString SSourceNotSpecified() {
    return QStringLiteral("Language source must be specified!");
}
inline QString SOwnerNotSpecified() {
    return QStringLiteral("Owner is not specified!");
}
inline QString SDuplicateInstance() {
    return QStringLiteral("'%1' already contains instance of %2 class!");
}
} // namespace LocalRConsts
