#include "app/StartArguments.h"

#include "app/Version.h"
#include "platform/CommandLine.h"
#include "platform/PathText.h"
#include "report/ReportKinds.h"

#include <algorithm>
#include <cstring>

StartArguments::StartArguments(int argc, char* argv[])
    : m_argc(argc), m_argv(argv), m_arguments(CommandLineArguments(argc, argv)), m_optionsEnd(argc) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            m_optionsEnd = i;
            break;
        }
    }
    m_qtArgv.assign(argv, argv + m_optionsEnd);
    m_qtArgv.push_back(nullptr); // as argv ends
    m_qtArgc = m_optionsEnd;
}

QString StartArguments::Text(int index) const {
    // The command line read as UTF-16 on Windows may in rare quoting cases count its arguments
    // differently from the C library's argv; argv's own bytes then stand in.
    if (m_arguments.size() == static_cast<std::size_t>(m_argc - 1))
        return PathText(m_arguments[static_cast<std::size_t>(index - 1)]);
    return QString::fromLocal8Bit(m_argv[index]);
}

QStringList StartArguments::Remaining() const {
    QStringList remaining;
    // Qt moved the arguments it left to the front of its array; each is still one of argv's.
    for (int i = 1; i < m_qtArgc; ++i) {
        const auto at = std::find(m_argv + 1, m_argv + m_optionsEnd, m_qtArgv[static_cast<std::size_t>(i)]);
        if (at != m_argv + m_optionsEnd)
            remaining << Text(static_cast<int>(at - m_argv));
    }
    for (int i = m_optionsEnd; i < m_argc; ++i)
        remaining << (i == m_optionsEnd ? QStringLiteral("--") : Text(i));
    return remaining;
}

StartArguments::Request StartArguments::Asked() const {
    for (int i = 1; i < m_optionsEnd; ++i) {
        const char* argument = m_argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)
            return Request::Help;
        if (std::strcmp(argument, "--version") == 0)
            return Request::Version;
    }
    return Request::Run;
}

QString WindowUsage() {
    return QStringLiteral(
               "Usage: trelvane [QT-OPTION...] [REPORT]\n"
               "       trelvane [QT-OPTION...] -- REPORT\n"
               "       trelvane --help\n"
               "       trelvane --version\n"
               "\n"
               "Opens the Trelvane window. REPORT is loaded and joins the report list, as File > Open does;\n"
               "without it, the report selected when the window last closed is loaded.\n"
               "\n"
               "Qt's own options (-style NAME, -platform NAME, -reverse, ...) are taken before \"--\" only;\n"
               "an argument after \"--\" is a report name, even one that begins with \"-\".\n"
               "\n") +
           QString::fromLatin1(ReportKindsText()) +
           QStringLiteral("\n"
                          "trelvane-csv writes a report's result table as CSV without a window.\n");
}

QString WindowVersion() {
    return QStringLiteral("trelvane " TRELVANE_VERSION "\n");
}
