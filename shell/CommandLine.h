#pragma once

#include <QStringList>

// Reads the program's command line: "zidevavi [datei...]". --help and
// --version are answered on standard output and an unknown option on standard
// error, and the program ends there. Otherwise the document files named come
// back in their order, as absolute paths.
QStringList DocumentFilesFromCommandLine(const QStringList& arguments);
