// libFuzzer harness: any bytes as a data file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/data_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qx40::SampleRecord* record = new qx40::SampleRecord;
    qx40::ParseDataFile({reinterpret_cast<const char*>(data), size}, *record);
    // Whatever loaded must describe the buffers it sits in.
    if (record->Info[qx40::fi::ValidPoints] > static_cast<std::int32_t>(qx40::kRecordSlots)) __builtin_trap();
    return 0;
}
