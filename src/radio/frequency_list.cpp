#include "radio/frequency_list.h"

// The list and the receiver control arrive with the frequency window.
void RefreshFrequencies(RadioState&, const HfdlReception&) {}
