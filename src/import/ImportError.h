#pragma once

#include "store/Error.h"

// Errors of reading a file to import: not a text file, empty, unreadable.
class EImportError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The user cancelled an import under way; nothing was written.
class EImportCancelled : public EHabitraError {
public:
    EImportCancelled() : EHabitraError(QStringLiteral("Import cancelled")) {}
};
