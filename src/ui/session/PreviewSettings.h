#pragma once
// What the previews remember between runs: the folder where the user keeps the host's pictures.
// Kept in the program's settings file (an INI file in the user's configuration folder; tests
// point QSettings at a scratch folder of their own).

#include <string>

// A system (UTF-8) path; empty when none was chosen.
std::string PicturesFolderSetting();
void SetPicturesFolderSetting(const std::string& folder);
