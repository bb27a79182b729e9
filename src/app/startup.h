#pragma once
// The main window's construction and closing, as far as they touch no
// widget: the tables, settings, paths, clamps, network start and the other
// start state; and the state side of the closing.
#include <string>

class IniFile;
class PeerLink;
struct Form1State;

// Constructor steps 2 to 26 and the state part of 28, in order. Widget
// steps (the form resource, the bitmaps' sizes, the menus) are TForm1's;
// the audio devices are opened by the caller afterwards. A server opens on
// the link (without one it does not open).
void ConstructForm1State(Form1State& form, const std::string& appDir, const IniFile& settings,
                         PeerLink* link = nullptr);

// FormShow step 5: the language in force. Returns whether the language
// dialog must be asked first (Language 0).
bool LanguageDialogNeeded(const Form1State& form);
// After the dialog (or without it): Language and UseEnglish settle.
void SettleLanguage(Form1State& form, bool dialogShown);

// FormClose steps 3 and 4: nothing more is decoded, and a server that does
// not decode gets its channel mode back for the save.
void BeginClose(Form1State& form);
