#pragma once
// The windows of receiver control: frequency list, receiver settings,
// manual frequency grid and keypad.
#include "radio/tform20.h"
#include "radio/tform24.h"
#include "radio/tform25.h"
#include "radio/tform29.h"
