#pragma once
// The ACARS message search window.
#include "acars/tform28.h"
