#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where the program keeps its files. A program folder holds the executable beside Data/ and keeps
// everything in it; the program runs with it as its working directory, as it always has. An
// installed package keeps its read-only files in <prefix>/share/habitra beside <prefix>/bin, and
// each user's tables and pictures in a data folder of the user's own, $XDG_DATA_HOME/Habitra.
class TInstallation {
public:
    // Decides from the executable's folder and the environment; touches nothing.
    static TInstallation Locate(const QString& executableFolder, const QProcessEnvironment& environment);

    // True when the executable's folder holds Data/: everything stays as the folder has it.
    bool IsProgramFolder() const { return m_programFolder; }
    // The folder of Data/ (the tables) and Billeder/ (the pictures), with a trailing separator.
    const QString& UserFolder() const { return m_userFolder; }
    // The folder of the language files and Help/, with a trailing separator; empty when the
    // program reads them as a program folder does.
    const QString& ShareFolder() const { return m_shareFolder; }

    // Makes the user's data folder ready: Data/ with the tables that are missing, Billeder/ with the
    // placeholder picture when it has none. Existing files are never touched; a program folder is
    // left as it is. Throws EHabitraError saying what could not be made.
    void Prepare() const;
    // Makes the user's data folder the working directory, through which the tables are reached.
    void Enter() const;

    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
    static QString DataHome(const QProcessEnvironment& environment);

private:
    bool m_programFolder = false;
    QString m_userFolder;
    QString m_shareFolder;
};
