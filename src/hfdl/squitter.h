#pragma once
// The squitter (SPDU) a ground station sends every 32 s: its slot plan and
// the frequencies it and two neighbours have in use, which keep the
// ground-station table's in-use slots and last-heard times current.
class FrameAnalysis;

void AnalyzeSquitter(FrameAnalysis& frame);
