// The background record: a second record shown behind the live one, which
// the user exchanges with the main record or clears.
#pragma once

#include <string>

#include "scope/record_levels.h"
#include "device/sample_record.h"
#include "scope/scope_state.h"

namespace qx40 {

struct RecordFile {
    std::string name;       // file name without folder
    bool fromFile = false;  // the buffers show that file's content
};

// Exchanges the main and the background record with their levels, zero
// lines and file names. An empty side first takes the other's levels,
// zeros and name, so that the record moving in keeps them. False when
// neither record holds data (nothing changes then).
bool SwapWithBackground(ScopeState& state, SampleRecord& main, RecordFile& mainFile, SampleRecord& background,
                        RecordLevels& backgroundLevels, RecordFile& backgroundFile);

void ClearBackground(SampleRecord& background, RecordFile& backgroundFile);

}  // namespace qx40
