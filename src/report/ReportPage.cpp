#include "ReportPage.h"

QStringList TReportPage::Texts() const {
    QStringList texts;
    for (const TReportItem& item : Items) {
        if (item.Kind == rikText) {
            texts << item.Text;
        }
    }
    return texts;
}

std::vector<const TReportItem*> TReportPage::ItemsNamed(const QString& name) const {
    std::vector<const TReportItem*> found;
    for (const TReportItem& item : Items) {
        if (item.Style && item.Style->Name == name) {
            found.push_back(&item);
        }
    }
    return found;
}

const TReportItem* TReportPage::Item(const QString& name) const {
    for (const TReportItem& item : Items) {
        if (item.Style && item.Style->Name == name) {
            return &item;
        }
    }
    return nullptr;
}
