#pragma once

namespace leafmill {

// The program: loads the settings and the language, shows the splash, loads
// the main window behind it with the files and folders named on the command
// line in its list, and runs the window events until the main window closes.
// A settings or language file that cannot be used is told to the user and
// ends the program with status 1; an unknown option ends it with status 2.
// --help and --version print and end without a window.
int runLeafmill(int argc, char** argv);

}  // namespace leafmill
