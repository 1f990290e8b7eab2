#pragma once

#include <QStringList>

class QCommandLineParser;

// The program's options: --help and --version; Qt's own (-platform, -style,
// ...) are taken by the application object before the parser sees the rest.
void describeCommandLine(QCommandLineParser& parser);

// True when the arguments ask only for the help text or the version, which
// are printed without opening a window, so they work without a display.
bool asksOnlyForInformation(const QStringList& arguments);
