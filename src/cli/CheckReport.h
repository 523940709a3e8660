#pragma once
// The layout check's findings as the tool prints them: one line of text or one JSON object per
// finding. Kept apart from the commands that draw screens, whose picture look-up shares a name
// with the check's.

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "tools/ScreenResolution.h"

class cLayout;

struct CheckRequest {
    std::optional<Resolution> ScreenResolution; // none: detected from the controls
    // True when the picture a control names is found; empty: pictures are not checked.
    std::function<bool(const std::string& bitmapPath)> PictureFound;
    bool Json = false;
};

// Checks the layout and prints its findings to `out`; true when one is an error or a warning.
bool PrintCheckFindings(const cLayout& layout, const CheckRequest& request, std::ostream& out);
