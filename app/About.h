#pragma once
// CAbout: the About box "KALTRNX" with icon, logo and the version labels. It
// also serves as the start-up screen. It closes on a key, a left click or by
// itself after 1.5 s; several can be open at once.
#include "Dlg.h"
#include "KaltrenoxVersion.h"

class CAbout : public CDlg {
public:
    static constexpr UINT_PTR kCloseTimer = 1;
    static constexpr UINT kCloseAfterMs = 1500;
    static constexpr const wchar_t* kVersion = KX_VERSION_WIDE;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowVersion(int labelId);
};
