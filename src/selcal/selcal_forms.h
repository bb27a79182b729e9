#pragma once
// The SELCAL subsystem's window.
#include "selcal/selcal_panel_window.h"
