#pragma once
// The commands of `quill` that show a layout as the host would run it: check (the layout check's
// findings, one a line) and render (one screen drawn as an SVG picture, as the preview draws it).

#include "cli/CommandLine.h"
#include "cli/ConsoleDialogs.h"

int RunCheck(const ParsedArguments& arguments, Console& console);
int RunRender(const ParsedArguments& arguments, Console& console);
