#include "toolkit/ole_win.h"

#include <windows.h>
#include <ole2.h>

namespace kembo {

// S_FALSE (already initialised on this thread) also counts and must be balanced.
OleSession::OleSession() : active_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
    if (active_) OleUninitialize();
}

}  // namespace kembo
