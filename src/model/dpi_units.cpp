#include "model/dpi_units.h"

#include <windows.h>

namespace model {

int32_t ScaleBetweenDpi(int32_t value, int fromDpi, int toDpi) noexcept {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi)
        return value;
    return ::MulDiv(value, toDpi, fromDpi);
}

} // namespace model
