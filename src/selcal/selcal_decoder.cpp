#include "selcal/selcal_decoder.h"

// Tone detection and the panel arrive with the SELCAL decoder; a channel
// set to SELCAL decodes nothing until then.
void InitSelcalWeights(SelcalState&) {}
void DecodeSelcalBlock(SelcalState&, int, double*) {}
void ResetSelcalChannel(SelcalState&, int) {}
void DisableTimer1(SelcalState&) {}
