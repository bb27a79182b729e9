#pragma once
// The dialogs of the application shell: processing settings, About box,
// log items and language choice.
#include "app/tform11.h"
#include "app/tform3.h"
#include "app/tform30.h"
#include "app/tform31.h"
