#pragma once
// The program's version, as the About window and `korvoscreenquill --version` show it. The number
// comes from the build (the project's version).

#ifndef QUILL_VERSION
#define QUILL_VERSION "4.0"
#endif

inline constexpr const char* ProgramVersion = QUILL_VERSION;
inline constexpr const char* VersionCaption = "KorvoScreenQuill A" QUILL_VERSION;
