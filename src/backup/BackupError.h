#pragma once

#include "store/Error.h"

// Errors of writing, checking and restoring a backup archive; the message says what is wrong.
class EBackupError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The user cancelled a backup or a restore while it ran; nothing was changed.
class EBackupCancelled : public EBackupError {
public:
    using EBackupError::EBackupError;
};
