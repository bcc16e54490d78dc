#pragma once

#include "report/Report.h"

class TReportLabel;
class TReportImage;

// The picture printout: an A4 landscape page titled with the item's description over its picture.
class TBilledReport : public TReport {
public:
    explicit TBilledReport(TTable* dataSet);

    TReportLabel* QRLabel1 = nullptr; // the title, "Habitra" until the description is set
    TReportImage* QRImage1 = nullptr;
};
