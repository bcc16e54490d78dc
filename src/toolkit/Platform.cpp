#include "Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QUrl>

namespace {
class TDesktopPlatform : public TPlatform {
public:
    bool OpenDocument(const QString& pathOrUrl) override {
        // A local file may carry a fragment after "#": the place in the document to open at.
        const qsizetype hash = pathOrUrl.lastIndexOf(QLatin1Char('#'));
        const QString file = hash > 0 && !QFileInfo::exists(pathOrUrl) ? pathOrUrl.left(hash) : pathOrUrl;
        if (!QFileInfo::exists(file)) {
            return QDesktopServices::openUrl(QUrl::fromUserInput(pathOrUrl));
        }
        QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
        if (file.size() < pathOrUrl.size()) {
            url.setFragment(pathOrUrl.mid(hash + 1));
        }
        return QDesktopServices::openUrl(url);
    }

    bool StartProgram(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }

    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
        QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowState(Qt::WindowMaximized);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&paint](QPrinter* target) { paint(*target); });
        dialog.exec();
    }
};

std::unique_ptr<TPlatform>& Current() {
    static std::unique_ptr<TPlatform> platform = std::make_unique<TDesktopPlatform>();
    return platform;
}
} // namespace

TPlatform& TPlatform::Instance() {
    return *Current();
}

std::unique_ptr<TPlatform> TPlatform::Install(std::unique_ptr<TPlatform> platform) {
    std::swap(Current(), platform);
    return platform;
}
