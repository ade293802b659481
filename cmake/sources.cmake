# Source lists per layer. A core file never includes a Qt header.
set(QX40_CORE_SOURCES
    base/blend_color.cpp
    base/interpolation.cpp
    base/parse_number.cpp
    base/round_nearest.cpp
    base/value_format.cpp
    calibration/zero_offset_code.cpp
    device/about_texts.cpp
    device/acquisition_thread.cpp
    device/apply_operations.cpp
    device/background_record.cpp
    device/command_framing.cpp
    device/command_sender.cpp
    device/device_session.cpp
    device/frame_decoder.cpp
    device/frame_receiver.cpp
    device/main_thread_queue.cpp
    device/scope_session.cpp
    device/usb/byte_ring.cpp
    device/usb/device_spec.cpp
    device/usb/instrument_access.cpp
    device/usb/sim/sim_command_parser.cpp
    device/usb/sim/sim_frame_builder.cpp
    device/usb/sim/sim_generator.cpp
    device/usb/sim/sim_instrument.cpp
    device/usb/sim/sim_signal_model.cpp
    device/usb/sim/sim_trigger.cpp
    device/usb/sim/simulated_link.cpp
    device/usb/tcp_link.cpp
    files/companion_file.cpp
    files/csv_export.cpp
    files/data_file.cpp
    files/export_job.cpp
    files/file_io.cpp
    files/ini_document.cpp
    files/program_paths.cpp
    files/raw_channel_export.cpp
    files/settings_file.cpp
    files/text_export.cpp
    generator/generator_readouts.cpp
    generator/generator_words.cpp
    generator/modulation_dialog_view.cpp
    generator/modulation_ranges.cpp
    recorder/recorder_file.cpp
    recorder/recorder_session.cpp
    recorder/recorder_texts.cpp
    resources/fpga_image.cpp
    scope/build_device_settings.cpp
    scope/derived_quantities.cpp
    scope/model_features.cpp
    scope/value_tables.cpp
    screen/colour_slot_captions.cpp
    screen/diagnostic_lines.cpp
    screen/key_commands.cpp
    screen/pointer_controller.cpp
    screen/readouts.cpp
    screen/screen_geometry.cpp
    screen/spectrum_readouts.cpp
    screen/trace_columns.cpp
    screen/window_placement.cpp
    spectrum/fft.cpp
    spectrum/fft_settings_controls.cpp
    spectrum/fft_window.cpp
    spectrum/spectrum_analyzer.cpp
    spectrum/spectrum_mode.cpp
    trigger/trigger_dialog_view.cpp
    trigger/trigger_ranges.cpp
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
    display/export_formats.cpp
    display/picture_export.cpp
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
    app/caption_table.cpp
    app/main_window.cpp
    app/main_window_controls.cpp
    app/main_window_display.cpp
    app/main_window_files.cpp
    app/main_window_input.cpp
    app/main_window_menu_commands.cpp
    app/main_window_menus.cpp
    app/main_window_widgets.cpp
    app/program_icon.cpp
    app/runtime_folder.cpp
    app/screen_view.cpp
    app/single_instance.cpp
    app/window_bounds.cpp
    dialogs/dialog_controls.cpp
    dialogs/dialog_set.cpp
    dialogs/generator_settings_dialog.cpp
    dialogs/qt_user_dialogs.cpp
    dialogs/settings_dialog.cpp
    dialogs/trigger_settings_dialog.cpp
)

# The command-line tool's commands, a library so that tests run them in-process.
set(QX40_CLI_LIB_SOURCES
    app/cli/capture_command.cpp
    app/cli/headless_scope.cpp
)

# The commands that draw the screen: the view library, never Qt Widgets.
set(QX40_CLI_VIEW_LIB_SOURCES
    app/cli/export_command.cpp
    app/cli/file_screen.cpp
    app/cli/screenshot_command.cpp
)

set(QX40_CLI_SOURCES
    app/qx40cli_main.cpp
)
