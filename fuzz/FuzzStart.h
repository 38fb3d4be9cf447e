// Start-up shared by the fuzz targets: a QGuiApplication on the offscreen platform (documents,
// fonts and image readers need one), created once before the first input and kept for the
// process' life.
#pragma once
#include <QGuiApplication>

#include <cstdlib>

inline void fuzzStarten(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's own warnings about bad pictures and fonts would flood the fuzzer's output.
    setenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false", 1);
    static QGuiApplication app(*argc, *argv);
}
