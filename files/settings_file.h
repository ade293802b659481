// The program settings file (beside the executable) and user settings
// files (.qxs): which keys each holds and how they map to the scope state.
#pragma once

#include <string>

#include "device/device_facts.h"
#include "scope/scope_state.h"

namespace qx40 {

enum class SettingsKind { Program, User };

enum class SettingsRefusal {
    None,
    InvalidFormat,  // a user file without Common/CH_D1
    OldVersion,     // ... that has Common/ExtTrig: written by version 1.xx
};

// Reads into state. A missing or unreadable file reads as empty. A user
// settings file that fails the format check is refused and changes nothing.
SettingsRefusal ReadSettings(const std::string& path, SettingsKind kind, ScopeState& state);

// Rewrites the file, keeping its foreign sections and the foreign keys of
// System and Colors (Merge), or replacing its whole content (Replace, as
// "Save Settings As" does). False with the reason in error when it cannot
// be written; the old file is then untouched.
enum class WriteMode { Merge, Replace };
bool WriteSettings(const std::string& path, SettingsKind kind, const ScopeState& state,
                   const DeviceFacts& facts, std::string& error, WriteMode mode = WriteMode::Merge);

// The language of a first start, before the program settings file holds
// one: Russian when the locale that names the messages' language (the first
// set of LC_ALL, LC_MESSAGES and LANG, as the C library takes them) starts
// with "ru". The caller puts it into Common.Russian before ReadSettings.
bool LocaleIsRussian(const char* lcAll, const char* lcMessages, const char* lang);

struct MessageText {
    std::string caption;
    std::string text;
};
// The error box for a refused settings file, in the language asked for.
MessageText SettingsRefusalMessage(SettingsRefusal refusal, const std::string& path, bool russian);

}  // namespace qx40
