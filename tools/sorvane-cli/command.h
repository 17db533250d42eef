#pragma once

#include <QStringList>
#include <QTextStream>

// A subcommand of sorvane-cli. Each command file registers its commands at start-up.
struct CliCommand {
    const char* name;
    const char* usage; // arguments after the command name, e.g. "FOLDER"
    // Returns the exit code: 0 done, 1 failed (message on err), 2 bad arguments.
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
    // One or two sentences for "sorvane-cli help COMMAND"; none: the usage line alone.
    const char* summary = nullptr;
    // Runs without the application object: the command only reads files and prints, and
    // setting the object up would cost a few milliseconds of every run.
    bool withoutApplication = false;
};

bool RegisterCliCommand(const CliCommand& command);

// Prints the usage text of every command, by name; used for bad arguments (exit 2).
void PrintCliUsage(QTextStream& err);
// "sorvane-cli --help" (no name) or "sorvane-cli help NAME": the same usage lines, with
// each command's summary. Returns the exit code: 0, or 2 for an unknown name.
int PrintCliHelp(const QStringList& names, QTextStream& out, QTextStream& err);
