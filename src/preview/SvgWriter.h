#pragma once
// Writes a screen scene as an SVG picture: one element per control (a nested <svg> that clips its
// content to the control's rectangle, with the record position as its id), the same shapes and
// colours the preview paints, texts turned from Windows-1252 into UTF-8 and escaped for XML, and
// pictures referenced where they were found. What comes out is well-formed XML whatever the
// records hold.

#include <string>

#include "preview/ScreenScene.h"

struct SvgOptions {
    // The folder the SVG goes to: pictures under it are referenced by relative paths, others by
    // file URIs. Empty: file URIs throughout.
    std::string PictureBase;
};

std::string WriteSceneSvg(const ScreenScene& scene, const SvgOptions& options = {});

// "file:///home/j%C3%BCrgen/Pictures/a%20b.png" for a system (UTF-8) path.
std::string PictureUri(const std::string& path);
// A record's Windows-1252 text as UTF-8 for XML: the five special characters escaped, line
// breaks and tabs made blanks, and the other control characters (which XML cannot carry) made
// U+FFFD.
std::string XmlText(const std::string& windows1252);
