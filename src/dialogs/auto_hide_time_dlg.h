#pragma once
// Sets how long the mouse must rest on an auto-hidden bar before it shows itself again.
#include <cstdint>
#include <optional>
#include <string>

#include "framework/dialog.h"

// The delay range the dialog accepts, in milliseconds.
constexpr int kMinAutoHideDelay = 100;
constexpr int kMaxAutoHideDelay = 5000;

// The message that refuses a delay field's content, or nothing when the value is acceptable:
// "Enter an integer." for no number, the range message (with the bounds put in) for one
// outside the range.
std::optional<std::wstring> DelayInputProblem(std::optional<int> value);

// "%1" and "%2" of a message replaced by the two numbers.
std::wstring FormatRangeMessage(const std::wstring& text, int low, int high);

class CAutoHideTimeDlg : public fw::Dialog {
public:
    CAutoHideTimeDlg(int32_t useDelay, int32_t delay) : m_bUseDelay(useDelay), m_nDelay(delay) {}
    ~CAutoHideTimeDlg() override { Destroy(); }

    INT_PTR DoModal(HWND owner);

    // Both values as accepted with OK.
    int32_t m_bUseDelay;
    int32_t m_nDelay;

protected:
    bool OnInitDialog(HWND focus) override;
    void OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    void EnableDelay();
};
