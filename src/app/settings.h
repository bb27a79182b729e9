#pragma once
// The settings file: read once at start into the state, written whole at
// close. The GUI-free half; TForm1 first copies the windows' positions,
// sizes and showing states into the state. One table of keys (settings.cpp)
// gives each key's section, field, default and range, in the file's order.
class IniFile;
struct Form1State;

// Reads every key into its field; a value out of its key's range takes the
// key's default or is clamped, as the key's rule says, so the rest of the
// program sees only values it can work with. Control states go to their
// mirror fields; no handler runs.
void LoadSettings(Form1State& form, const IniFile& ini);
// Writes every key, in the file's order, into ini (keeping what else the
// file holds).
void SaveSettings(const Form1State& form, IniFile& ini);

// Number of keys in the file (224 named keys and 80 of the operator colour
// groups).
constexpr int kSettingsKeyCount = 304;
