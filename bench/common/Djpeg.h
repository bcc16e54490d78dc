#pragma once

#include <QByteArray>

// The processor time, in milliseconds, that djpeg takes to decode the JPEG file at `path` in full
// (output thrown away); -1 when it cannot be run or fails.
double DjpegCpuMs(const QByteArray& path);
