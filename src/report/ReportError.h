#pragma once

#include "store/Error.h"

// A report that cannot be laid out or printed: a dataset error, a missing picture, a bad expression.
class EReportError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The user stopped the layout; nothing was shown or written.
class EReportCancelled : public EReportError {
public:
    using EReportError::EReportError;
};
