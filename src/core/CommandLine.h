#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The program's command line, read before any window exists so that --help and --version answer
// without a display. Every option the program knows is added in the constructor; the help lists
// them all.
class TCommandLine {
public:
    explicit TCommandLine(const QStringList& arguments);
    static QStringList Arguments(int argc, char** argv);

    // True when the command line is answered by a text alone (help, version, a mistake): the
    // program prints it with Answer() and ends instead of starting.
    bool AnswersAlone() const { return m_answered; }
    // Writes the answer (a mistake to standard error) and returns the exit status.
    int Answer() const;
    const QString& Output() const { return m_output; }
    int ExitStatus() const { return m_status; }

    bool IsSet(const QString& name) const { return m_parser.isSet(name); }
    QString Value(const QString& name) const { return m_parser.value(name); }

    static QString VersionText();

private:
    void AddOptions();
    void AcceptToolkitOptions();
    void Decide();
    QString HelpText() const;

    QCommandLineParser m_parser;
    bool m_answered = false;
    int m_status = 0;
    QString m_output;
};
