#pragma once
// The windows of the map subsystem: display settings and operator colours.
#include "map/tform19.h"
#include "map/tform4.h"
