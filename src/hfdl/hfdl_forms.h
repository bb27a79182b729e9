#pragma once
// The HFDL windows: registrations, reception statistics, system table.
#include "hfdl/tform21.h"
#include "hfdl/tform22.h"
#include "hfdl/tform23.h"
