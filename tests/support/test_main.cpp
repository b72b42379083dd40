// Entry point of every test program: OLE and common controls as the program has them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/com.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    fw::OleInit ole;
    return RUN_ALL_TESTS();
}
