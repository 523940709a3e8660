#pragma once
// The names of the screen commands' history steps: the undo question and the Edit menu show them
// ("Is it OK to undo Delete screen(s) done 2 times?", "&Undo Delete screen(s)").

namespace StepText {
inline constexpr const char* Delete = "Delete screen(s)";
inline constexpr const char* Promote = "Promote screen(s) Up list";
inline constexpr const char* Demote = "Demote screen(s) Down List";
inline constexpr const char* Append = "Append screen(s) from Additional layout";
inline constexpr const char* Captions = "Re-caption buttons";
inline constexpr const char* Rescale = "Re-Scale of screen(s)";
inline constexpr const char* SortDROs = "Sorting of DROs";
} // namespace StepText
