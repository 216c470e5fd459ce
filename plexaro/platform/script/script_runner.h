#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace plexaro {

// Runs a scripted session: one command per line, driving the main form through the same
// handlers as the window's events. Writes what `print` asks for and every message box to
// `out`, diagnostics to `err`. Returns the exit status: 0 at the end of the script or after
// Exit, 2 for a line that is not a valid command.
int runScript(std::istream& script, std::ostream& out, std::ostream& err);

// Splits a script line into its arguments: blanks separate them, double quotes hold blanks or
// an empty text, and inside quotes \" is a quote and \\ a backslash. Returns false on an
// unterminated quote.
bool splitScriptLine(const std::string& line, std::vector<std::string>& words);

}  // namespace plexaro
