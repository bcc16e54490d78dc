#pragma once

#include <QImage>
#include <QString>

// The pictures built into the program: the splash picture and the about box's picture.
namespace SupportResources {
// "Splash.jpg" or "About.jpg"; raises EPictureError when the picture cannot be read.
QImage Picture(const QString& name);
} // namespace SupportResources
