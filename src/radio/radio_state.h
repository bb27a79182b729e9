#pragma once
// Receiver control's state.
struct RadioState {};
