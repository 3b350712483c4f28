// Checked conversion of a single-precision coordinate to a pixel, truncating toward zero.
#pragma once

// Smallest float that no longer fits a 32-bit int; -2^31 itself still fits.
constexpr float kIntLimit = 2147483648.0f;

// True and the truncated value in pixel when v is finite and fits a 32-bit int; false otherwise,
// and pixel is left alone: casting such a value would be undefined.
inline bool toPixel(float v, int& pixel)
{
    if (!(v >= -kIntLimit && v < kIntLimit)) {
        return false;
    }
    pixel = static_cast<int>(v);
    return true;
}
