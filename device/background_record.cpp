#include "device/background_record.h"

#include <utility>

namespace qx40 {

bool SwapWithBackground(ScopeState& state, SampleRecord& main, RecordFile& mainFile, SampleRecord& background,
                        RecordLevels& backgroundLevels, RecordFile& backgroundFile) {
    if (!main.HasData() && !background.HasData()) return false;
    RecordLevels mainLevels{state.Trigger.Lev_A1, state.Trigger.Lev_A2, state.Scope.A1_Zero, state.Scope.A2_Zero};
    if (!background.HasData()) {
        backgroundLevels = mainLevels;
        backgroundFile.name = mainFile.name;
    } else if (!main.HasData()) {
        mainLevels = backgroundLevels;
        mainFile.name = backgroundFile.name;
    }
    main.Swap(background);
    std::swap(mainLevels, backgroundLevels);
    std::swap(mainFile, backgroundFile);
    state.Trigger.Lev_A1 = mainLevels.Lev_A1;
    state.Trigger.Lev_A2 = mainLevels.Lev_A2;
    state.Scope.A1_Zero = mainLevels.A1_Zero;
    state.Scope.A2_Zero = mainLevels.A2_Zero;
    return true;
}

void ClearBackground(SampleRecord& background, RecordFile& backgroundFile) {
    background.Clear();
    backgroundFile.fromFile = false;
}

}  // namespace qx40
