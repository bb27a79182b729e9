#pragma once
// The windows of the aircraft subsystem: search (watch list), received list,
// list entry editor, mail settings and aircraft information.
#include "aircraft/tform5.h"
#include "aircraft/tform17.h"
#include "aircraft/tform2.h"
#include "aircraft/tform6.h"
#include "aircraft/tform7.h"
