#include "CommandLine.h"

#include <cstdio>

namespace {
const QString Program = QStringLiteral("habitra");
constexpr int UsageStatus = 2;
} // namespace

TCommandLine::TCommandLine(const QStringList& arguments) {
    AddOptions();
    AcceptToolkitOptions();
    if (!m_parser.parse(arguments)) {
        m_answered = true;
        m_status = UsageStatus;
        m_output = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                       .arg(Program, m_parser.errorText());
        return;
    }
    Decide();
}

QStringList TCommandLine::Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

void TCommandLine::AddOptions() {
    m_parser.setApplicationDescription(QStringLiteral("Keeps a register of a household's belongings, for the "
                                                      "insurance company and for your own overview."));
    m_parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help and ends.")});
    m_parser.addOption(
        {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Shows the version and ends.")});
    // Carried out before this parser is asked (it needs no window); listed here for the help.
    m_parser.addOption(
        {QStringLiteral("backup"),
         QStringLiteral("Writes a backup archive of the register and its pictures to FOLDER_OR_FILE "
                        "without opening a window, and ends (a folder gets the name "
                        "Habitra-YYYY-MM-DD.zip)."),
         QStringLiteral("FOLDER_OR_FILE")});
}

// The toolkit takes its own options (-platform xcb, -style fusion, ...) from the command line when
// the application starts; they must not count as mistakes here.
void TCommandLine::AcceptToolkitOptions() {
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style", "stylesheet",
          "geometry", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session"}) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    m_parser.addOption(reverse);
}

void TCommandLine::Decide() {
    if (m_parser.isSet(QStringLiteral("help"))) {
        m_answered = true;
        m_output = HelpText();
    } else if (m_parser.isSet(QStringLiteral("version"))) {
        m_answered = true;
        m_output = VersionText() + QLatin1Char('\n');
    } else if (!m_parser.positionalArguments().isEmpty()) {
        m_answered = true;
        m_status = UsageStatus;
        m_output = QStringLiteral("%1: unexpected argument '%2'\nTry '%1 --help' for more information.\n")
                       .arg(Program, m_parser.positionalArguments().constFirst());
    }
}

QString TCommandLine::HelpText() const {
    // The parser names the program after the running executable, or not at all before the
    // application object exists; the help names it as it is installed.
    const QString text = m_parser.helpText();
    return QStringLiteral("Usage: %1 [options]").arg(Program) + text.mid(text.indexOf(QLatin1Char('\n')));
}

QString TCommandLine::VersionText() {
    return QStringLiteral("Habitra %1.%2.%3.%4")
        .arg(HABITRA_VERSION_MAJOR + 0)
        .arg(HABITRA_VERSION_MINOR + 0)
        .arg(HABITRA_VERSION_PATCH + 0)
        .arg(HABITRA_VERSION_TWEAK + 0);
}

int TCommandLine::Answer() const {
    std::FILE* stream = m_status == 0 ? stdout : stderr;
    std::fputs(m_output.toLocal8Bit().constData(), stream);
    std::fflush(stream);
    return m_status;
}
