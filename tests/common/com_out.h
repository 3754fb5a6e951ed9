#pragma once
// A COM owner handed to a call that gives its reference back through a typed pointer (IFoo**).
#include "toolkit/com_win.h"

namespace kembo::testing {

template <typename Interface>
Interface** Out(ComRef<Interface>& ref) {
    return reinterpret_cast<Interface**>(ref.Receive());
}

}  // namespace kembo::testing
