#pragma once
// The HFDL frequency list, kept from the ground-station table.
struct HfdlReception;
struct RadioState;

// Rebuilds the list from the ground-station table and retunes a receiver
// whose followed station changed.
void RefreshFrequencies(RadioState& radio, const HfdlReception& hfdl);
