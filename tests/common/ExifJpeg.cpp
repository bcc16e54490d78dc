#include "ExifJpeg.h"

#include <utility>

// An APP1 segment holding one IFD with the orientation tag, in either byte order.
QByteArray ExifJpeg::OrientationSegment(int orientation, bool bigEndian) {
    const auto u16 = [bigEndian](QByteArray& out, int value) {
        const char hi = char((value >> 8) & 0xFF);
        const char lo = char(value & 0xFF);
        out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    };
    const auto u32 = [&u16, bigEndian](QByteArray& out, quint32 value) {
        u16(out, int(bigEndian ? value >> 16 : value & 0xFFFF));
        u16(out, int(bigEndian ? value & 0xFFFF : value >> 16));
    };
    QByteArray tiff(bigEndian ? "MM" : "II");
    u16(tiff, 42);
    u32(tiff, 8);
    u16(tiff, 1);           // one entry
    u16(tiff, 0x0112);      // Orientation
    u16(tiff, 3);           // SHORT
    u32(tiff, 1);           // one value
    u16(tiff, orientation); // left-justified in the four value bytes
    u16(tiff, 0);
    u32(tiff, 0); // no next IFD
    QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    u16(segment, int(payload.size() + 2));
    if (!bigEndian) { // the segment length is big-endian whatever the TIFF order
        std::swap(segment[2], segment[3]);
    }
    return segment + payload;
}

QByteArray ExifJpeg::WithSegment(const QByteArray& jpeg, const QByteArray& segment) {
    return jpeg.left(2) + segment + jpeg.mid(2); // right after the start-of-image marker
}
