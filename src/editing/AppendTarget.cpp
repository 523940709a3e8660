#include "editing/AppendTarget.h"

#include "layout/cLayout.h"

int DefaultAppendTarget(const cLayout& principal, int sourceScreen) {
    const auto& screens = principal.Screens();
    const bool persistentEmpty = screens[0].CtrlCount == 0;
    if (sourceScreen == 0 && persistentEmpty) return 0;
    for (int s = 1; s < ScreenCount; ++s)
        if (screens[static_cast<std::size_t>(s)].CtrlCount == 0) return s;
    return persistentEmpty ? 0 : -1;
}

bool AppendTargetAsks(int sourceScreen, int target) {
    return target == 0 && sourceScreen != 0;
}

std::string AppendToPersistentQuestion(int sourceScreen, const std::string& sourceLabel) {
    std::string screen = "screen " + std::to_string(sourceScreen);
    if (!sourceLabel.empty()) screen += " \"" + sourceLabel + "\"";
    return "Screen 0 is the Persistent screen: its controls show on every screen. Append " +
           screen + " there?";
}
