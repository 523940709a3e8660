#pragma once
// Running the built quill from a test: its exit status and what it wrote to each stream (with
// the console's CR LF line ends of Windows made LF), the samples' paths, a layout file read back
// as the document reads it, and an output's lines.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "layout/cLayout.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

struct QuillResult {
    int Status = -1;
    std::string Out, Err;
};

inline std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Runs quill with the arguments (already quoted as needed), its output caught in files of `dir`.
inline QuillResult Quill(const std::string& arguments, const TempDir& dir) {
    const std::string out = dir.File("stdout.txt");
    const std::string err = dir.File("stderr.txt");
    std::string command =
        Quoted(QUILL_PROGRAM) + " " + arguments + " >" + Quoted(out) + " 2>" + Quoted(err);
#ifdef _WIN32
    command = "\"" + command + "\""; // cmd.exe takes off one pair of outer quotes
    const int status = std::system(command.c_str());
#else
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    std::string text = ReadBytes(out), error = ReadBytes(err);
    for (std::string* s : {&text, &error})
        for (std::size_t at = 0; (at = s->find("\r\n", at)) != std::string::npos;)
            s->erase(at, 1);
    return {status, text, error};
}

inline std::string Sample(const std::string& name) {
    return std::string(QUILL_SAMPLES_DIR) + "/" + name;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A layout as the document reads it; boxes are agreed to.
struct Loaded {
    AgreeingDialogs Dialogs;
    cLayout Layout{Dialogs};
    explicit Loaded(const std::string& path) { EXPECT_TRUE(Layout.LoadLayout(path)) << path; }
    std::vector<ControlRecord> Records() const {
        return {Layout.Records().begin(), Layout.Records().end()};
    }
};
