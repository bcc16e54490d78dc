#include "support/SupportResources.h"

#include "pictures/JpegLoader.h"

#include <QFile>

// A resource in a static library is only linked in when it is initialised by name (outside any namespace).
static void InitResources() {
    Q_INIT_RESOURCE(Support);
}

QImage SupportResources::Picture(const QString& name) {
    InitResources();
    QFile file(QStringLiteral(":/support/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(QStringLiteral("Cannot read the picture %1").arg(name));
    }
    return LoadJpeg(file.readAll(), name);
}
