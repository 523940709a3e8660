#include "preview/SvgWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "layout/ControlRecord.h"
#include "platform/FileAccess.h"
#include "platform/CodePages.h"
#include "preview/ControlTexts.h"
#include "platform/SystemPaths.h"

namespace fs = std::filesystem;

namespace {

fs::path Absolute(const std::string& utf8) {
    std::error_code error;
    fs::path path = fs::absolute(PathOf(utf8), error);
    if (error) path = PathOf(utf8);
    return path.lexically_normal();
}

void AppendBase64(std::string& out, const std::string& bytes) {
    static constexpr char Digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto byte = [&bytes](std::size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    const std::size_t whole = bytes.size() / 3 * 3;
    const std::size_t start = out.size();
    out.resize(start + (bytes.size() + 2) / 3 * 4);
    char* at = out.data() + start;
    for (std::size_t i = 0; i < whole; i += 3) {
        const uint32_t v = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        *at++ = Digits[v >> 18];
        *at++ = Digits[(v >> 12) & 63];
        *at++ = Digits[(v >> 6) & 63];
        *at++ = Digits[v & 63];
    }
    if (const std::size_t rest = bytes.size() - whole; rest > 0) {
        const uint32_t v = byte(whole) << 16 | (rest == 2 ? byte(whole + 1) << 8 : 0);
        *at++ = Digits[v >> 18];
        *at++ = Digits[(v >> 12) & 63];
        *at++ = rest == 2 ? Digits[(v >> 6) & 63] : '=';
        *at++ = '=';
    }
}

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

    SvgDocument Write(const ScreenScene& scene) {
        TextCodePage = scene.CodePage;
        LookAtPictures(scene);
        const std::string w = Num(scene.Size.Width), h = Num(scene.Size.Height);
        Out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        Out += "<svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
               w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
               "\" font-family=\"sans-serif\">\n";
        std::string title = "Screen " + Num(scene.Screen);
        Out += "<title>" + Escaped(title) +
               (scene.Label.empty() ? "" : ": " + XmlText(scene.Label, scene.CodePage)) + "</title>\n";
        Out += "<defs><pattern id=\"missing\" width=\"8\" height=\"8\" "
               "patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\">"
               "<rect width=\"8\" height=\"8\" fill=\"" +
               Hex(SceneColour::Missing) +
               "\"/><rect width=\"3\" height=\"8\" fill=\"#000000\" fill-opacity=\"0.25\"/>"
               "</pattern>\n";
        PictureDefinitions();
        Out += "</defs>\n";
        Out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + Hex(SceneColour::Screen) +
               "\"/>\n";
        for (const SceneItem& item : scene.Items)
            Control(item);
        Out += "</svg>\n";
        Document.Text = std::move(Out);
        return std::move(Document);
    }

private:
    struct Picture {
        int Id = 0;       // 0: not shown
        std::string Href; // a data: URI or a link, not yet escaped
    };

    // Each distinct picture file once, in order of first use: read and encoded, or linked.
    void LookAtPictures(const ScreenScene& scene) {
        for (const SceneItem& item : scene.Items) {
            if (item.Shape != ItemShape::Picture || item.PicturePath.empty()) continue;
            const auto [entry, added] = Pictures.try_emplace(item.PicturePath);
            if (!added) continue;
            Order.push_back(&entry->first);
            std::string reason;
            entry->second.Href = Options.Pictures == SvgPictures::Embedded
                                     ? DataUri(item.PicturePath, reason)
                                     : LinkTo(item.PicturePath);
            if (entry->second.Href.empty()) {
                Document.Problems.push_back({item.PicturePath, reason});
                continue;
            }
            entry->second.Id = ++Document.PictureFiles;
        }
    }

    void PictureDefinitions() {
        for (const std::string* path : Order) {
            Picture& picture = Pictures[*path];
            if (picture.Id == 0) continue;
            Out += "<image id=\"picture-" + Num(picture.Id) +
                   "\" width=\"1\" height=\"1\" preserveAspectRatio=\"none\" xlink:href=\"";
            // Base64 and percent-encoded links hold nothing XML must escape.
            Out += picture.Href;
            Out += "\"/>\n";
            picture.Href.clear();
        }
    }

    static std::string DataUri(const std::string& path, std::string& reason) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(PathOf(path), error);
        if (!error && size > MaxEmbeddedPictureBytes) {
            reason = "is larger than " + std::to_string(MaxEmbeddedPictureBytes >> 20) +
                     " MB, too large to embed";
            return {};
        }
        std::string bytes;
        if (!ReadWholeFile(path, bytes, reason)) return {};
        if (bytes.size() > MaxEmbeddedPictureBytes) {
            reason = "is larger than " + std::to_string(MaxEmbeddedPictureBytes >> 20) +
                     " MB, too large to embed";
            return {};
        }
        const std::string type = PictureMimeType(bytes);
        if (type.empty()) {
            reason = "is not a JPEG, PNG, GIF or BMP picture";
            return {};
        }
        std::string uri = "data:" + type + ";base64,";
        uri.reserve(uri.size() + (bytes.size() + 2) / 3 * 4);
        AppendBase64(uri, bytes);
        return uri;
    }

    std::string LinkTo(const std::string& path) const {
        if (!Options.Folder.empty()) {
            const fs::path relative = Absolute(path).lexically_relative(Absolute(Options.Folder));
            if (!relative.empty()) return PercentEncoded(Utf8Of(relative));
        }
        return PictureUri(path);
    }

    const Picture* Shown(const SceneItem& item) const {
        const auto found = Pictures.find(item.PicturePath);
        return found != Pictures.end() && found->second.Id != 0 ? &found->second : nullptr;
    }

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
            if (const Picture* picture = Shown(item)) {
                Out += "<use xlink:href=\"#picture-" + Num(picture->Id) + "\" transform=\"scale(" +
                       Num(w) + " " + Num(h) + ")\"/>";
                Text(item, item.Text, "middle", w / 2, false);
            } else if (item.MissingAsHotSpot) {
                HotSpot(box, edge);
            } else {
                Out += "<rect " + box + " fill=\"url(#missing)\" stroke=\"" + edge + "\"/>";
                Text(item, item.PictureFileName, "middle", w / 2, false);
            }
            break;
        case ItemShape::HotSpot:
            HotSpot(box, edge);
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

    void HotSpot(const std::string& box, const std::string& edge) {
        Out += "<rect " + box + " fill=\"none\" stroke=\"" + edge +
               "\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>";
    }

    void Text(const SceneItem& item, const std::string& text, const char* anchor, int64_t x,
              bool bold) {
        if (text.empty()) return;
        Out += "<text x=\"" + Num(x) + "\" y=\"" + Half(item.Rect.Height()) +
               "\" dominant-baseline=\"central\" text-anchor=\"" + anchor + "\" font-size=\"" +
               Num(item.TextPixels) + "\"" + (bold ? " font-weight=\"bold\"" : "") + " fill=\"" +
               Hex(item.Ink) + "\">" + XmlText(text, TextCodePage) + "</text>";
    }

    static std::string Half(int64_t value) { return Num(value / 2) + (value % 2 != 0 ? ".5" : ""); }

    std::string ClassOf(const SceneItem& item) const {
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
            return Shown(item) != nullptr  ? "picture"
                   : item.MissingAsHotSpot ? "hotspot"
                                           : "picture missing";
        case ItemShape::HotSpot:
            return "hotspot";
        case ItemShape::Panel:
            return "panel";
        case ItemShape::Unknown:
            return "unknown";
        }
        return "unknown";
    }

    const SvgOptions& Options;
    int TextCodePage = 1252;
    std::string Out;
    SvgDocument Document;
    std::map<std::string, Picture> Pictures;
    std::vector<const std::string*> Order;
};

} // namespace

std::string PictureUri(const std::string& path) {
    const std::string encoded = PercentEncoded(path);
    // "C:/x" becomes "file:///C:/x"; the drive's colon is the one kept.
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (drive) return "file:///" + path.substr(0, 2) + PercentEncoded(path.substr(2));
    return "file://" + (encoded.empty() || encoded[0] != '/' ? "/" + encoded : encoded);
}

std::string XmlText(const std::string& bytes, int codePage) {
    return Escaped(CodePageToUtf8(bytes, codePage));
}

std::string PictureMimeType(const std::string& bytes) {
    const auto starts = [&bytes](std::string_view magic) { return bytes.starts_with(magic); };
    if (starts("\xFF\xD8\xFF")) return "image/jpeg";
    if (starts("\x89PNG\r\n\x1A\n")) return "image/png";
    if (starts("GIF87a") || starts("GIF89a")) return "image/gif";
    if (starts("BM") && bytes.size() >= 26) return "image/bmp";
    return {};
}

SvgDocument WriteSceneSvg(const ScreenScene& scene, const SvgOptions& options) {
    return Writer(options).Write(scene);
}
