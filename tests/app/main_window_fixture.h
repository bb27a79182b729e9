#pragma once
// The fixture moved to the test support, which every folder shares.
#include "support/main_window_fixture.h"
