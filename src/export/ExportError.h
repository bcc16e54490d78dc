#pragma once

#include "store/Error.h"

// Failures of the exporter: folder or file not creatable, short writes, a closed source.
class EExportError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The user cancelled a running export; nothing is left of its file.
class EExportCancelled : public EExportError {
public:
    EExportCancelled() : EExportError(QStringLiteral("Export cancelled")) {}
};
