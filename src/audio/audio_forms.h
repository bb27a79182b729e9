#pragma once
// The audio windows: input device and decoder mode, device change notice.
#include "audio/tform8.h"
#include "audio/tform9.h"
