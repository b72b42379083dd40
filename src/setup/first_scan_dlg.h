#pragma once
// The small modeless progress window shown while the tree is built from a template or a
// folder: a text line and an animation that plays on its own while the work runs.
#include <string>

#include "framework/dialog.h"

class CFirstScanDlg : public fw::Dialog {
public:
    // The text line; set before Create.
    void SetText(std::wstring text) { m_strText = std::move(text); }
    // Creates and shows the window; null when it cannot be made.
    HWND Create(HWND owner);

protected:
    bool OnInitDialog(HWND focus) override;

private:
    std::wstring m_strText;
};
