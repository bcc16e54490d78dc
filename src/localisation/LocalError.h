#pragma once

#include "store/Error.h"

// Every error the localisation components raise.
class ELocalError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};
