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
        const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath())
                                                      : QUrl::fromUserInput(pathOrUrl);
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

TPlatform& TPlatform::Instance() { return *Current(); }

std::unique_ptr<TPlatform> TPlatform::Install(std::unique_ptr<TPlatform> platform) {
    std::swap(Current(), platform);
    return platform;
}
