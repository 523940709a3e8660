#pragma once
// Pairs of benchmarks whose ratio the run prints at its end: the document's work against a plain
// copy of the same bytes, with the goal the ratio should stay within.

#include <string>

// Registers at static-initialisation time; returns a dummy so it can initialise a variable.
bool RegisterRatio(const std::string& work, const std::string& plainCopy, double goal);
