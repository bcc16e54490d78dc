#pragma once

#include "toolkit/Platform.h"

#include <QString>
#include <QStringList>

// A platform double: records what the program asks the desktop to open or start, and renders
// print previews to a PDF file instead of showing them. Installed for its lifetime.
class TTestPlatform : public TPlatform {
public:
    // Installs a new double and returns it; the previous platform comes back when it is destroyed.
    static TTestPlatform& Install();
    static void Uninstall();

    bool OpenDocument(const QString& pathOrUrl) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

    QStringList Opened;
    QStringList Started;
    bool StartSucceeds = true;
    int Previews = 0;
    QString PdfPath; // where the last preview was rendered; empty: a temporary file is made
};
