#pragma once

namespace leafmill {

// The program: loads the settings and the language, shows the splash, loads
// the main window behind it and runs the window events until the main window
// closes. A settings or language file that cannot be used is told to the user
// and ends the program with status 1.
int runLeafmill(int argc, char** argv);

}  // namespace leafmill
