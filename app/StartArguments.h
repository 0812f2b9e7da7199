#pragma once

#include <QStringList>

#include <string>
#include <vector>

// The window program's command line, split between Qt and Trelvane. Qt takes its own options (-style,
// -platform, -reverse, ...) from wherever they stand in the array it is handed, even after "--", so it
// is handed only the arguments before the first "--": every argument after it is a report name.
class StartArguments {
public:
    StartArguments(int argc, char* argv[]);
    StartArguments(const StartArguments&) = delete;
    StartArguments& operator=(const StartArguments&) = delete;

    // What QApplication is constructed with: the program's name and the arguments before "--". Qt
    // removes the options it takes from this array, never from argv.
    int& QtArgc() { return m_qtArgc; }
    char** QtArgv() { return m_qtArgv.data(); }

    // The arguments Qt left, then "--" and every argument after it, as CommandLineReport reads them.
    QStringList Remaining() const;

    // --help (-h) or --version before "--": answered at once, before Qt starts, so that they need no
    // display.
    enum class Request { Run, Help, Version };
    Request Asked() const;

private:
    // An argument's text: its bytes as the file system takes them (the command line's UTF-16 on
    // Windows), as a path.
    QString Text(int index) const;

    int m_argc;
    char** m_argv;
    std::vector<std::string> m_arguments; // of the whole command line, for Text
    int m_optionsEnd;                     // the index of the first "--" in argv, argc when there is none
    std::vector<char*> m_qtArgv;
    int m_qtArgc;
};

// The usage and the version line of the window program, as --help and --version print them.
QString WindowUsage();
QString WindowVersion();
