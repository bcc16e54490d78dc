#include "TestPlatform.h"

#include <QDir>
#include <QPrinter>
#include <QTemporaryFile>

namespace {
std::unique_ptr<TPlatform> previous;
TTestPlatform* current = nullptr;
} // namespace

TTestPlatform& TTestPlatform::Install() {
    Uninstall();
    auto platform = std::make_unique<TTestPlatform>();
    current = platform.get();
    previous = TPlatform::Install(std::move(platform));
    return *current;
}

void TTestPlatform::Uninstall() {
    if (current) {
        TPlatform::Install(std::move(previous));
        current = nullptr;
    }
}

bool TTestPlatform::OpenDocument(const QString& pathOrUrl) {
    Opened << pathOrUrl;
    return true;
}

bool TTestPlatform::StartProgram(const QString& program, const QStringList& arguments) {
    Started << (QStringList{program} + arguments).join(QLatin1Char(' '));
    return StartSucceeds;
}

void TTestPlatform::PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    ++Previews;
    if (PdfPath.isEmpty()) {
        PdfPath = QDir::temp().filePath(QStringLiteral("habitra-preview-%1.pdf").arg(quintptr(this)));
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PdfPath);
    paint(printer);
}
