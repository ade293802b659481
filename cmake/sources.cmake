# Source lists per layer. A core file never includes a Qt header.
set(QX40_CORE_SOURCES
    app/caption_table.cpp
    app/key_commands.cpp
    app/pointer_controller.cpp
    app/program_paths.cpp
    calibration/zero_offset_code.cpp
    device/acquisition_thread.cpp
    device/apply_operations.cpp
    device/background_record.cpp
    device/build_device_settings.cpp
    device/command_framing.cpp
    device/command_sender.cpp
    device/derived_quantities.cpp
    device/device_session.cpp
    device/frame_decoder.cpp
    device/frame_receiver.cpp
    device/main_thread_queue.cpp
    device/model_features.cpp
    device/usb/byte_ring.cpp
    device/usb/device_spec.cpp
    device/usb/sim_command_parser.cpp
    device/usb/sim_frame_builder.cpp
    device/usb/sim_generator.cpp
    device/usb/sim_instrument.cpp
    device/usb/sim_signal_model.cpp
    device/usb/sim_trigger.cpp
    device/usb/simulated_link.cpp
    device/usb/tcp_link.cpp
    device/value_tables.cpp
    display/blend_color.cpp
    display/diagnostic_lines.cpp
    display/fft.cpp
    display/fft_window.cpp
    display/interpolation.cpp
    display/readouts.cpp
    display/round_nearest.cpp
    display/screen_geometry.cpp
    display/spectrum_analyzer.cpp
    display/spectrum_mode.cpp
    display/spectrum_readouts.cpp
    display/trace_columns.cpp
    display/value_format.cpp
    files/data_file.cpp
    files/file_io.cpp
    files/ini_document.cpp
    files/settings_file.cpp
    generator/generator_readouts.cpp
    generator/generator_words.cpp
    resources/fpga_image.cpp
    trigger/trigger_registers.cpp
)

# The FTDI bridge backend: the only code that needs libftdi1 and libusb.
set(QX40_FTDI_LINK_SOURCES
    device/usb/ftdi_link.cpp
    device/usb/ftdi_packets.cpp
)

# View: QtGui only; draws the screen into images, runs headless.
set(QX40_VIEW_SOURCES
    display/activity_indicator.cpp
    display/canvas.cpp
    display/readout_painter.cpp
    display/screen_marks.cpp
    display/screen_renderer.cpp
    display/spectrum_drawing.cpp
    display/trace_renderer.cpp
)

set(QX40_APP_SOURCES
    app/qx40_main.cpp
)

# The window and its services, a library so that tests run them offscreen.
set(QX40_APP_LIB_SOURCES
    app/apply_captions.cpp
    app/main_window.cpp
    app/main_window_controls.cpp
    app/main_window_display.cpp
    app/main_window_files.cpp
    app/main_window_input.cpp
    app/main_window_menus.cpp
    app/main_window_widgets.cpp
    app/screen_view.cpp
    app/single_instance.cpp
    dialogs/dialog_shells.cpp
    dialogs/qt_user_dialogs.cpp
)

# The command-line tool's commands, a library so that tests run them in-process.
set(QX40_CLI_LIB_SOURCES
    app/cli/capture_command.cpp
    app/cli/headless_scope.cpp
)

set(QX40_CLI_SOURCES
    app/qx40cli_main.cpp
)
