#pragma once

#include "ReportElement.h"

#include <QColor>
#include <memory>
#include <utility>
#include <vector>

// rbTitle: top of the first page. rbColumnHeader: top of every page, under the title.
// rbDetail: once per record of the dataset. rbPageFooter: bottom of every page, the last one included.
// rbPage: no band of its own; its elements are placed from the page's top-left corner on every page.
enum TReportBandType { rbTitle, rbColumnHeader, rbDetail, rbPageFooter, rbPage };

class TReportBand {
public:
    explicit TReportBand(TReportBandType type, double height = 0);
    TReportBand(const TReportBand&) = delete;
    TReportBand& operator=(const TReportBand&) = delete;

    TReportBandType BandType() const { return m_type; }
    double Height() const { return m_height; } // mm
    void SetHeight(double height) { m_height = height; }
    const QColor& Color() const { return m_color; }
    void SetColor(const QColor& color) { m_color = color; }

    // Adds an element the band owns: band.Add<TReportLabel>("QRLabel1", "Habitra").
    template <class T, class... Args> T* Add(Args&&... args) {
        auto element = std::make_unique<T>(std::forward<Args>(args)...);
        T* added = element.get();
        m_elements.push_back(std::move(element));
        return added;
    }
    const std::vector<std::unique_ptr<TReportElement>>& Elements() const { return m_elements; }
    TReportElement* FindElement(const QString& name) const;

private:
    TReportBandType m_type;
    double m_height;
    QColor m_color = Qt::white;
    std::vector<std::unique_ptr<TReportElement>> m_elements;
};
