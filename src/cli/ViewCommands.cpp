#include "cli/ViewCommands.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/CheckReport.h"
#include "cli/ConsoleDialogs.h"
#include "cli/QuillCommands.h"
#include "layout/cLayout.h"
#include "platform/CodePages.h"
#include "platform/FileAccess.h"
#include "platform/SystemPaths.h"
#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"
#include "preview/SvgWriter.h"
#include "tools/ScreenResolution.h"

// ---- check

int RunCheck(const ParsedArguments& arguments, Console& console) {
    const std::string& path = arguments.Operands[0];
    CheckRequest request;
    request.Json = arguments.Has("--json");
    if (arguments.Has("--resolution")) {
        request.Options.ScreenResolution =
            ResolutionOption(arguments, "--resolution", "check", console.Err);
        if (!request.Options.ScreenResolution) return ExitFailure;
    }
    const std::optional<std::string> pictures = PicturesOption(arguments, "check", console.Err);
    if (!pictures) return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(path) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(path));
    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "check", console);
    if (!codePage) return ExitFailure;
    request.CodePage = codePage->CodePage;

    // Pictures are looked for as the preview looks for them; without a pictures folder the check
    // says in a note that they were not.
    PictureFinder finder;
    if (arguments.Has("--pictures")) {
        finder = PictureFinder::ForLayout(path, *pictures);
        finder.SetCodePage(codePage->CodePage);
        request.Options.PictureFound = [&finder](const std::string& bitmapPath) {
            return finder.Find(bitmapPath).Found();
        };
    }
    return PrintCheckFindings(layout, request, console.Out) ? ExitFindings : ExitSuccess;
}

// ---- render

int RunRender(const ParsedArguments& arguments, Console& console) {
    const std::string& input = arguments.Operands[0];
    if (!arguments.Has("--screen")) return UsageError(console.Err, "render", "needs --screen N");
    // Any screen the records may lie on, the host's 16 and those beyond them.
    std::optional<int> screen;
    {
        const std::string text = arguments.Value("--screen");
        int number = -1;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size() && number >= 0)
            screen = number;
        else
            return UsageError(console.Err, "render",
                              "--screen " + QuotedValue(text) + " is not a screen number 0 or more");
    }
    if (!arguments.Has("-o")) return UsageError(console.Err, "render", "needs -o OUT.svg");
    const std::string output = arguments.Value("-o");
    const std::optional<std::string> pictures = PicturesOption(arguments, "render", console.Err);
    if (!pictures) return ExitFailure;
    SceneOptions options;
    options.ShowPersistent = !arguments.Has("--no-persistent");
    if (arguments.Has("--resolution") && !(options.ScreenResolution = ResolutionOption(
                                               arguments, "--resolution", "render", console.Err)))
        return ExitFailure;
    if (!OutputIsNotTheLayout(input, output, "render", "an SVG picture", console.Err))
        return ExitFailure;

    cLayout layout(console.Dialogs);
    if (!layout.LoadLayout(input) || console.Dialogs.Failed())
        return console.Dialogs.Fail(CannotRead(input));

    const std::optional<DetectedCodePage> codePage =
        UseCodePage(arguments, layout.Records(), "render", console);
    if (!codePage) return ExitFailure;
    // As the preview looks: the pictures folder first, then the host's Bitmaps folders, then the
    // layout's folder and its parent.
    PictureFinder finder = PictureFinder::ForLayout(input, *pictures);
    finder.SetCodePage(codePage->CodePage);
    options.Pictures = &finder;
    layout.SetTextCodePage(codePage->CodePage);
    const ScreenScene scene = BuildScreenScene(layout, *screen, options);
    // Embedded pictures show wherever the SVG goes; linked ones are named relative to the SVG,
    // so the folder can be moved or shared as a whole.
    SvgOptions form;
    form.Pictures = arguments.Has("--link-pictures") ? SvgPictures::Linked : SvgPictures::Embedded;
    form.Folder = Utf8Of(FullPath(output).parent_path());
    const SvgDocument svg = WriteSceneSvg(scene, form);
    std::string failure;
    if (!WriteOutput(output, svg.Text, failure))
        return console.Dialogs.Fail("Cannot save the picture \"" + PathForMessage(output) +
                                    "\": " + failure);

    // Each missing picture once, with what stands in for it: a hatched box, or the outline of
    // an invisible hot spot where only bitmap buttons show it.
    std::vector<std::pair<std::string, bool>> missing; // name, drawn hatched somewhere
    for (const SceneItem& item : scene.Items) {
        if (item.PictureName.empty() || !item.PicturePath.empty()) continue;
        auto known = std::find_if(missing.begin(), missing.end(),
                                  [&item](const auto& m) { return m.first == item.PictureName; });
        if (known == missing.end())
            known = missing.insert(missing.end(), {item.PictureName, false});
        known->second = known->second || !item.MissingAsHotSpot;
    }
    for (const auto& [name, hatched] : missing)
        console.Dialogs.Note(
            "the picture \"" + name + "\" is not found; " +
            (hatched ? "a hatched box stands in" : "its bitmap button is drawn as an outline"));
    for (const SvgPictureProblem& problem : svg.Problems)
        console.Dialogs.Note("the picture file \"" + PathForMessage(problem.Path) + "\" " +
                             problem.Reason + "; the SVG shows it as missing");

    console.Out << "Screen " << *screen;
    if (!scene.Label.empty())
        console.Out << " \"" << ConsoleText(scene.Label, codePage->CodePage) << "\"";
    console.Out << ": " << scene.Items.size()
                << (scene.Items.size() == 1 ? " control" : " controls") << " drawn";
    if (!missing.empty())
        console.Out << ", " << missing.size() << (missing.size() == 1 ? " picture" : " pictures")
                    << " not found";
    console.Out << ".\n";
    return ExitSuccess;
}
