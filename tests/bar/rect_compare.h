#pragma once
// Rectangles compared and printed by the bar's tests (RECT lives in the global namespace, so
// the operators must too for GoogleTest to find them).
#include <windows.h>

#include <ostream>

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RECT& a, const RECT& b) {
    return !(a == b);
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
