#include "preview/SvgWriter.h"

#include <algorithm>
#include <cstdio>

#include "layout/ControlRecord.h"
#include "platform/Windows1252.h"
#include "preview/ControlTexts.h"

namespace {

std::string Hex(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::string Num(int64_t value) {
    return std::to_string(value);
}

// A text of the program's own (UTF-8 already) escaped for XML.
std::string Escaped(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
        case '\r':
        case '\n':
            out += ' ';
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
    return out;
}

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

std::string PercentEncoded(const std::string& path) {
    std::string out;
    for (char ch : path) {
        const unsigned char c = static_cast<unsigned char>(ch == '\\' ? '/' : ch);
        if (Unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            char text[4];
            std::snprintf(text, sizeof text, "%%%02X", c);
            out += text;
        }
    }
    return out;
}

class Writer {
public:
    explicit Writer(const SvgOptions& options) : Options(options) {}

    std::string Write(const ScreenScene& scene) {
        const std::string w = Num(scene.Size.Width), h = Num(scene.Size.Height);
        Out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        Out += "<svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
               w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
               "\" font-family=\"sans-serif\">\n";
        std::string title = "Screen " + Num(scene.Screen);
        Out += "<title>" + Escaped(title) +
               (scene.Label.empty() ? "" : ": " + XmlText(scene.Label)) + "</title>\n";
        Out += "<defs><pattern id=\"missing\" width=\"8\" height=\"8\" "
               "patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\">"
               "<rect width=\"8\" height=\"8\" fill=\"" +
               Hex(SceneColour::Missing) +
               "\"/><rect width=\"3\" height=\"8\" fill=\"#000000\" fill-opacity=\"0.25\"/>"
               "</pattern></defs>\n";
        Out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + Hex(SceneColour::Screen) +
               "\"/>\n";
        for (const SceneItem& item : scene.Items)
            Control(item);
        Out += "</svg>\n";
        return std::move(Out);
    }

private:
    void Control(const SceneItem& item) {
        const int64_t w = item.Rect.Width(), h = item.Rect.Height();
        std::string classes = "control " + ClassOf(item);
        if (item.Persistent) classes += " persistent";
        if (item.Background) classes += " background";
        Out += "<svg id=\"record-" + Num(item.Position) + "\" class=\"" + classes +
               "\" data-kind=\"" + Num(item.Kind) + "\" x=\"" + Num(item.Rect.Left()) + "\" y=\"" +
               Num(item.Rect.Top()) + "\" width=\"" + Num(w) + "\" height=\"" + Num(h) +
               "\" overflow=\"hidden\">";
        const std::string box = "width=\"" + Num(w) + "\" height=\"" + Num(h) + "\"";
        const std::string fill = Hex(item.Fill), edge = Hex(item.Edge);
        switch (item.Shape) {
        case ItemShape::RaisedBox:
            Out += "<rect " + box + " fill=\"" + fill + "\" stroke=\"" + edge + "\"/>";
            Out += "<path d=\"M0.5 " + Num(h) + "V0.5H" + Num(w) +
                   "\" fill=\"none\" stroke=\"#ffffff\"/>";
            Text(item, item.Text, "middle", w / 2, false);
            break;
        case ItemShape::SunkenBox:
            Out += "<rect " + box + " fill=\"" + fill + "\" stroke=\"" + edge + "\"/>";
            Text(item, item.Text, "end", w - 3, false);
            break;
        case ItemShape::Text:
            Text(item, item.Text, "start", 2, false);
            break;
        case ItemShape::Title:
            Text(item, item.Text, "start", 2, true);
            break;
        case ItemShape::Lamp:
            Out += "<ellipse cx=\"" + Half(w) + "\" cy=\"" + Half(h) + "\" rx=\"" + Half(w) +
                   "\" ry=\"" + Half(h) + "\" fill=\"" + fill + "\" stroke=\"" + edge + "\"/>";
            break;
        case ItemShape::Picture:
            if (!item.PicturePath.empty()) {
                Out += "<image " + box + " preserveAspectRatio=\"none\" xlink:href=\"" +
                       Escaped(Href(item.PicturePath)) + "\"/>";
                Text(item, item.Text, "middle", w / 2, false);
            } else {
                Out += "<rect " + box + " fill=\"url(#missing)\" stroke=\"" + edge + "\"/>";
                Text(item, item.PictureFileName, "middle", w / 2, false);
            }
            break;
        case ItemShape::HotSpot:
            Out += "<rect " + box + " fill=\"none\" stroke=\"" + edge +
                   "\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>";
            Text(item, item.Text, "middle", w / 2, false);
            break;
        case ItemShape::Panel:
            Out += "<rect " + box + " fill=\"" + fill + "\" stroke=\"" + edge + "\"/>";
            if (item.Kind == ControlKind::JogBall)
                Out += "<circle cx=\"" + Half(w) + "\" cy=\"" + Half(h) + "\" r=\"" +
                       Half(std::min(w, h) * 8 / 10) + "\" fill=\"none\" stroke=\"" + edge +
                       "\" stroke-width=\"2\"/>";
            Text(item, item.Text, "middle", w / 2, false);
            break;
        case ItemShape::Unknown:
            Out += "<rect " + box + " fill=\"none\" stroke=\"" + edge +
                   "\" stroke-dasharray=\"1 3\"/>";
            Text(item, item.Text, "middle", w / 2, false);
            break;
        }
        if (item.LinkTarget) {
            Out += "<text class=\"badge\" x=\"" + Num(w - 2) +
                   "\" y=\"8\" font-size=\"8\" text-anchor=\"end\" fill=\"#ffffff\" "
                   "stroke=\"" +
                   Hex(SceneColour::Badge) + "\" stroke-width=\"3\" paint-order=\"stroke\">" +
                   Escaped(LinkBadgeText(*item.LinkTarget)) + "</text>";
        }
        if (!item.KeyText.empty()) {
            Out += "<text class=\"key\" x=\"2\" y=\"" + Num(h - 2) +
                   "\" font-size=\"8\" fill=\"#ffff80\" stroke=\"#000000\" stroke-width=\"2\" "
                   "paint-order=\"stroke\">" +
                   Escaped(item.KeyText) + "</text>";
        }
        if (item.Persistent)
            Out += "<path d=\"M0 0H6L0 6Z\" fill=\"" + Hex(SceneColour::Persistent) + "\"/>";
        Out += "</svg>\n";
    }

    void Text(const SceneItem& item, const std::string& text, const char* anchor, int64_t x,
              bool bold) {
        if (text.empty()) return;
        Out += "<text x=\"" + Num(x) + "\" y=\"" + Half(item.Rect.Height()) +
               "\" dominant-baseline=\"central\" text-anchor=\"" + anchor + "\" font-size=\"" +
               Num(item.TextPixels) + "\"" + (bold ? " font-weight=\"bold\"" : "") + " fill=\"" +
               Hex(item.Ink) + "\">" + XmlText(text) + "</text>";
    }

    static std::string Half(int64_t value) { return Num(value / 2) + (value % 2 != 0 ? ".5" : ""); }

    static std::string ClassOf(const SceneItem& item) {
        switch (item.Shape) {
        case ItemShape::RaisedBox:
            return "button";
        case ItemShape::SunkenBox:
            return "dro";
        case ItemShape::Text:
            return "label";
        case ItemShape::Title:
            return "title";
        case ItemShape::Lamp:
            return "led";
        case ItemShape::Picture:
            return item.PicturePath.empty() ? "picture missing" : "picture";
        case ItemShape::HotSpot:
            return "hotspot";
        case ItemShape::Panel:
            return "panel";
        case ItemShape::Unknown:
            return "unknown";
        }
        return "unknown";
    }

    std::string Href(const std::string& path) const {
        std::string base = Options.PictureBase;
        while (!base.empty() && (base.back() == '/' || base.back() == '\\'))
            base.pop_back();
        if (!base.empty() && path.size() > base.size() + 1 &&
            path.compare(0, base.size(), base) == 0 &&
            (path[base.size()] == '/' || path[base.size()] == '\\'))
            return PercentEncoded(path.substr(base.size() + 1));
        return PictureUri(path);
    }

    const SvgOptions& Options;
    std::string Out;
};

} // namespace

std::string PictureUri(const std::string& path) {
    const std::string encoded = PercentEncoded(path);
    // "C:/x" becomes "file:///C:/x"; the drive's colon is the one kept.
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (drive) return "file:///" + path.substr(0, 2) + PercentEncoded(path.substr(2));
    return "file://" + (encoded.empty() || encoded[0] != '/' ? "/" + encoded : encoded);
}

std::string XmlText(const std::string& windows1252) {
    return Escaped(Windows1252ToUtf8(windows1252));
}

std::string WriteSceneSvg(const ScreenScene& scene, const SvgOptions& options) {
    return Writer(options).Write(scene);
}
