#pragma once
// The window's side of layout bundles: File > Export layout with pictures... asks for a folder or
// a .zip name and writes the Principal layout with its pictures (looked up as the preview looks
// them up); opening a .zip bundle asks for the folder to unpack it into and gives the layout
// found there, with its pictures folder beside it. The rules are the core's (bundle/
// LayoutBundle.h), as quill bundle uses them.

#include <string>

#include "ui/widgets/FileDialogs.h"

class UserDialogs;
class cLayout;

// Asks for the bundle's name (a folder, or a file ending in .zip) and writes it, telling the
// user what it holds and what was not found. False when cancelled or refused (the user was told).
bool ExportBundle(const cLayout& layout, FileDialogs& files, UserDialogs& dialogs,
                  const std::string& startFolder);

// Asks where to unpack the .zip bundle and unpacks it there. The layout file unpacked, or ""
// when cancelled or refused (the user was told).
std::string UnpackBundleToOpen(const std::string& zipPath, FileDialogs& files,
                               UserDialogs& dialogs);
