#pragma once
// What the bundle's sources share: system paths as UTF-8 both ways, and a system error as the
// part of a sentence.

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/SystemPaths.h"

std::string ErrorText(const std::error_code& error);
// A name beside `target` that nothing uses yet, where an output is built before it is put in
// place.
std::filesystem::path ScratchBeside(const std::filesystem::path& target);
