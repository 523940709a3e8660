#pragma once
// The layout check's findings as the tool prints them: one line of text or one JSON object per
// finding.

#include <ostream>

#include "check/LayoutCheck.h"

class cLayout;

struct CheckRequest {
    CheckOptions Options;
    bool Json = false;
    int CodePage = 1252; // the layout's, which the messages quote its texts in
};

// Checks the layout and prints its findings to `out`; true when one is an error or a warning.
bool PrintCheckFindings(const cLayout& layout, const CheckRequest& request, std::ostream& out);
