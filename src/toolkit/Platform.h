#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

// Everything that leaves the program: the desktop's open action, starting programs and the print
// preview. Tests install a double that records the requests and renders previews to PDF.
class TPlatform {
public:
    virtual ~TPlatform() = default;

    // Asks the desktop to open a file or web address with its associated application; result ignored
    // by callers that do not care. A local file may be followed by "#fragment", the place to open at.
    virtual bool OpenDocument(const QString& pathOrUrl) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Shows a modal print preview that paints its pages through `paint`; returns when it closes.
    virtual void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;

    static TPlatform& Instance();
    // Replaces the platform (tests); returns the previous one.
    static std::unique_ptr<TPlatform> Install(std::unique_ptr<TPlatform> platform);
};
