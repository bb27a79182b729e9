#pragma once
// The squitter (SPDU) a ground station sends every 32 s: its slot plan and
// the frequencies it and two neighbours have in use, which keep the
// ground-station table's in-use slots and last-heard times current.
// (Declared with the other layers in frame_walk.h.)
#include <string>

// The analysis line of a change note.
std::string ChangeNoteText(int note);
