#pragma once
// The settings file: read once at start into the state, written whole at
// close. The GUI-free half; TForm1 first copies the windows' positions,
// sizes and showing states into the state.
class IniFile;
struct Form1State;

// Reads every key in the file's reading order, then puts values the program
// cannot work with back to their defaults (HardenSettings). Control states
// go to their mirror fields; no handler runs.
void LoadSettings(Form1State& form, const IniFile& ini);
// Writes every key, in the writer's order, into ini (keeping what else the
// file holds).
void SaveSettings(const Form1State& form, IniFile& ini);

// Values a hand-edited file may hold that would break the start or index
// past a table take the key's default. Values in range are untouched.
void HardenSettings(Form1State& form);

// Number of keys the reader takes (224 named keys and 80 of the operator
// colour groups).
constexpr int kSettingsKeyCount = 304;
