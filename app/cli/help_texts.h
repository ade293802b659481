// The lines every command's --help shares.
#pragma once

namespace qx40 {

inline constexpr const char* kDeviceOptionsHelp =
    "  --device DEV         auto, usb, sim, sim:CODE or tcp:HOST:PORT (default:\n"
    "                       $QX40_DEVICE, else auto: a USB instrument when one is\n"
    "                       attached, else the simulated one, which is said on stderr)\n"
    "  --ini FILE           the program settings file whose calibration sets the\n"
    "                       offsets (default: the window's qx40.ini)\n"
    "  --fpga-image PATH    the FPGA image for a real instrument (default: qx40_fpga.bin\n"
    "                       beside the program or in ~/.config/qx40/)\n";

inline constexpr const char* kExitCodesHelp =
    "exit codes: 0 done, 2 usage or settings refused, 3 device not found or failed,\n"
    "            4 no frame in time, 5 file error, 6 no data for writing, 7 calibration failed\n";

}  // namespace qx40
