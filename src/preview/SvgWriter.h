#pragma once
// Writes a screen scene as an SVG picture: one element per control, in the scene's painting order
// (a nested <svg> that clips its content to the control's rectangle, with the record position as
// its id and the kind as data-kind), the same shapes and colours the preview paints, texts turned
// from Windows-1252 into UTF-8 and escaped for XML. Each distinct picture file is read, encoded
// and written once, as an image in <defs> that the controls showing it use.
//
// Pictures are embedded as data: URIs by default, so the SVG shows the same wherever it is
// opened; or linked by paths relative to the SVG's folder (a file URI only where no relative path
// exists, such as another drive). What comes out is well-formed XML whatever the records and the
// picture files hold.

#include <cstdint>
#include <string>
#include <vector>

#include "preview/ScreenScene.h"

enum class SvgPictures { Embedded, Linked };

struct SvgOptions {
    SvgPictures Pictures = SvgPictures::Embedded;
    // The folder the SVG is written to (a system UTF-8 path): linked pictures are named relative
    // to it. Empty: linked pictures are named by file URIs.
    std::string Folder;
};

// A picture found by the look-up that the SVG does not show, and why ("is not a JPEG, PNG, GIF or
// BMP picture"); its controls are drawn as missing pictures.
struct SvgPictureProblem {
    std::string Path; // system UTF-8 path
    std::string Reason;
};

struct SvgDocument {
    std::string Text;
    int PictureFiles = 0; // distinct picture files the SVG shows
    std::vector<SvgPictureProblem> Problems;
};

// Pictures larger than this are not embedded: no viewer would open such an SVG gladly.
inline constexpr std::uintmax_t MaxEmbeddedPictureBytes = 32u << 20;

SvgDocument WriteSceneSvg(const ScreenScene& scene, const SvgOptions& options = {});

// "file:///home/j%C3%BCrgen/Pictures/a%20b.png" for a system (UTF-8) path.
std::string PictureUri(const std::string& path);
// "image/png" and the like, from the bytes a picture file starts with; empty for anything else.
std::string PictureMimeType(const std::string& bytes);
// A record's text (in the layout's code page) as UTF-8 for XML: the five special characters escaped, line
// breaks and tabs made blanks, and the other control characters (which XML cannot carry) made
// U+FFFD.
std::string XmlText(const std::string& bytes, int codePage = 1252);
