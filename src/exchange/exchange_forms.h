#pragma once
// The windows of message output and data exchange: received text, chat,
// packet status, connection, reconnect countdown, import progress, colours.
#include "exchange/colour_dialog.h"
#include "exchange/text_window.h"
#include "exchange/tform12.h"
#include "exchange/tform13.h"
#include "exchange/tform14.h"
#include "exchange/tform15.h"
#include "exchange/tform16.h"
