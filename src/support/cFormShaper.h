#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QRegion>

class QDataStream;
class QImage;
class QWidget;

// Gives a window the shape of a stored region: only the region is drawn and takes mouse input.
// The region is kept as region data (a 32-byte header and the rectangles, in y-x bands) and
// stored as a stream: a little-endian 32-bit length N followed by the N bytes of region data.
class TFormShaper : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QWidget* ControlToShape READ ControlToShape WRITE SetControlToShape)
    Q_PROPERTY(QByteArray FormShape READ Shape WRITE SetShape)

public:
    explicit TFormShaper(QObject* owner);

    bool Active() const { return m_active; }
    // True applies the region data to the target (when there is data and it is not applied yet);
    // false removes the shape and keeps the data.
    void SetActive(bool active);
    QWidget* ControlToShape() const { return m_control; }
    // The window to shape; none means the owner.
    void SetControlToShape(QWidget* control);

    // The region data as a stream; empty when there is none.
    QByteArray Shape() const;
    // Replaces the region data; takes effect the next time the shaper is activated. An empty stream
    // removes the shape at once.
    void SetShape(const QByteArray& stream);
    void ReadFormShape(QDataStream& stream);
    void WriteFormShape(QDataStream& stream) const;

    // The stream for the picture's non-white pixels.
    static QByteArray ShapeOf(const QImage& picture);
    // The region described by region data (without the length); empty when the data is malformed.
    static QRegion RegionOf(const QByteArray& regionData);

private:
    QWidget* Target() const;

    QByteArray m_data;
    QPointer<QWidget> m_control;
    bool m_active = false;
};
