#pragma once
// Where a control of a dialog stands as designed, in 96-DPI pixels of its parent.
namespace kembo {

// Left, top, width, height; a width or height of 0 means the control's natural size.
struct DesignedPlace {
    int left = 0, top = 0, width = 0, height = 0;
};

}  // namespace kembo
