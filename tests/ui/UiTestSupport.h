#pragma once
// Helpers of the UI tests: acting on a modal window once it is up, and finding controls by name.

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "TestFonts.h"

#include <functional>
#include <string>
#include <vector>

// Acts on the modal windows that open from now on, one action per window in the order they
// appear: the caller then does what opens them, and each action must close its window. A window
// another script or the caller's own `except` window is not acted on.
void OnModals(std::vector<std::function<void(QWidget*)>> actions, QWidget* except = nullptr);

inline void WhenModal(std::function<void(QWidget*)> action, QWidget* except = nullptr) {
    OnModals({std::move(action)}, except);
}

template <typename Control> Control* Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << "no control named " << name;
    return control;
}

std::string SamplePath(const char* name);

