#pragma once

#include <QStringList>

// Reads the program's command line: "zidevavi [datei...]". --help and
// --version are answered on standard output and an unknown option on standard
// error, and the program ends there. Otherwise the document files named come
// back in their order, as absolute paths.
QStringList DocumentFilesFromCommandLine(const QStringList& arguments);

// The same for the program's own arguments, read before the application
// object exists, so that --help and --version answer without a display.
QStringList DocumentFilesFromCommandLine(int& argc, char** argv);
