#pragma once
// Lengths at a display resolution. The bar's sizes are 96-DPI values (what every size was
// before the program knew of resolutions); this is the one place they become pixels.
#include <cstdint>

namespace model {

constexpr int kBaseDpi = 96;

// `value` pixels at `fromDpi` as pixels at `toDpi`, rounded to the nearest; a resolution
// that is not positive leaves the value as it is.
int32_t ScaleBetweenDpi(int32_t value, int fromDpi, int toDpi) noexcept;

// A 96-DPI value at `dpi`.
inline int32_t ScaleForDpi(int32_t value, int dpi) noexcept {
    return ScaleBetweenDpi(value, kBaseDpi, dpi);
}

} // namespace model
