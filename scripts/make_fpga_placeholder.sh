#!/bin/sh
# Writes the FPGA placeholder image carried in resources/: 102016 bytes, the
# bitstream's dummy word and sync word, a marker text that lets the program
# recognise it, zeros after. The instrument maker's real image replaces it
# at run time (see README.md).
set -eu
out=${1:-"$(dirname "$0")/../resources/fpga_placeholder.bin"}
marker='QX40 PLACEHOLDER FPGA IMAGE - not a bitstream; put the real image in qx40_fpga.bin'
{
    printf '\377\377\377\377\252\231\125\146'
    printf '%s' "$marker"
    head -c $((102016 - 8 - ${#marker})) /dev/zero
} > "$out"
