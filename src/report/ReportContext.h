#pragma once

#include "store/FormatSettings.h"

#include <QString>

class TTable;

// What elements read while a report is laid out.
struct TReportContext {
    TTable* DataSet = nullptr;
    TFormatSettings Settings;
    QString ReportTitle;
    int PageNumber = 0;
};
