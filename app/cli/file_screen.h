// A data file as the window shows it after opening it: the program's
// defaults, the file's model, then an optional settings file. Shared by
// qx40cli screenshot and export, so both draw the same screen.
#pragma once

#include <QImage>
#include <ostream>
#include <string>

#include "device/sample_record.h"
#include "scope/scope_model.h"

namespace qx40 {

struct FileScreen {
    ScopeModel model;
    SampleRecord main;
};

// Loads inputPath and applies settingsPath (when not empty). Returns an
// exit code of the command-line tool after one line on err: a file that
// cannot be read is a file error, a settings file refused a usage error.
int LoadFileScreen(const std::string& inputPath, const std::string& settingsPath, FileScreen& out,
                   std::ostream& err);

// The window's screen of a record under a model at a size: the display
// step's drawing with nothing being dragged and no link statistics.
QImage RenderScreen(const ScopeModel& model, const SampleRecord& main, int width, int height);

}  // namespace qx40
