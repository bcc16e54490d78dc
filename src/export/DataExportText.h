#pragma once

#include "DataExport.h"

// Adds the output file: creates its folder and the file, runs the engine into it and afterwards asks the
// desktop to open it.
class TDataExportText : public TDataExport {
    Q_OBJECT
public:
    using TDataExport::TDataExport;

    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& name) { m_fileName = name; }
    bool ShowFile() const { return m_showFile; }
    void SetShowFile(bool value) { m_showFile = value; }

    void RunExport() override;

    // The folder part of a file name, without a trailing separator.
    static QString FolderOf(const QString& fileName);

protected:
    virtual void AfterRun();
    virtual QString FileToOpen() const;

private:
    QString m_fileName;
    bool m_showFile = true;
};
