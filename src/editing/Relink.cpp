#include "editing/Relink.h"

#include <algorithm>

#include "layout/HostCodes.h"

bool IsPictureFolder(std::string_view path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

std::string RelinkPlan::StepText() const {
    return "Relink " + std::to_string(Controls) + (Controls == 1 ? " control" : " controls");
}

RelinkPlan PlanRelink(std::span<const ControlRecord> records, const std::string& from,
                      const std::string& to, const std::vector<int>& only) {
    RelinkPlan plan;
    const bool folder = IsPictureFolder(from);
    const std::string key = PicturePathKey(from);
    if (key.empty() || key == "\\") {
        plan.Refusal = "Name the picture path, or the folder, to relink.";
        return plan;
    }
    if (!folder && !NamesPicture(to)) {
        plan.Refusal =
            "The new picture path of \"" + from + "\" is empty; give the path of a picture.";
        return plan;
    }
    std::string target = to;
    if (folder && !target.empty() && !IsPictureFolder(target)) target += '\\';

    for (std::size_t i = 0; i < records.size(); ++i) {
        const int position = static_cast<int>(i + 1);
        if (!only.empty() && std::find(only.begin(), only.end(), position) == only.end()) continue;
        const std::string& path = records[i].rBitMapPath;
        if (!NamesPicture(path)) continue;
        std::string now;
        if (folder) {
            const std::optional<std::size_t> prefix = PictureFolderPrefix(path, from);
            if (!prefix || *prefix == path.size()) continue;
            now = target + path.substr(*prefix);
        } else {
            if (PicturePathKey(path) != key) continue;
            now = target;
        }
        ++plan.Matched;
        if (now.size() > static_cast<std::size_t>(MaxTextLength)) {
            plan.Refusal = "The picture path of record " + std::to_string(position) + " would be " +
                           std::to_string(now.size()) + " characters long, more than the " +
                           std::to_string(MaxTextLength) + " a text holds; nothing was relinked.";
            plan.Edit = {};
            plan.Controls = 0;
            return plan;
        }
        if (now == path) continue;
        ControlRecord changed = records[i];
        changed.rBitMapPath = std::move(now);
        plan.Edit.Changed.emplace_back(position, std::move(changed));
        ++plan.Controls;
    }
    plan.NoMatch = plan.Matched == 0;
    if (plan.NoMatch)
        plan.Refusal = folder ? "No control's picture lies under the folder \"" + from + "\"."
                              : "No control shows the picture \"" + from + "\".";
    return plan;
}
