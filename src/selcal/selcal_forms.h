#pragma once
// The SELCAL subsystem's window.
#include "selcal/tform26.h"
