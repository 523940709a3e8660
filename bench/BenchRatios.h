#pragma once
// What the run prints at its end: pairs of benchmarks whose ratio is the document's work against
// a plain copy of the same bytes or records, with the goal the ratio should stay within; and the
// benchmarks whose time per record must grow at most twofold from the common size to the largest.
// Each registers at static-initialisation time and returns a dummy, so it can initialise a
// variable.

#include <string>

// A goal of 0 prints the ratio without a goal.
bool RegisterRatio(const std::string& work, const std::string& plainCopy, double goal);
// The same pair at both sizes: name/2000 against copy/2000, and name/32767 against copy/32767.
bool RegisterRatios(const std::string& work, const std::string& plainCopy, double goal);
// Time per record at the largest size at most twice that at the common size.
bool RegisterLinearity(const std::string& benchmark);
// Both of the above for a command and its plain copy.
bool RegisterCommand(const std::string& work, const std::string& plainCopy, double goal);
