#pragma once
// CMsDlg: the modal dialog "Meßwert-Erfassung" (template "SPEED") in which
// the operator records one run. Its 100 ms timer drains the serial link into
// the frame decoder and feeds the live instruments; "Start" waits for the
// start condition, the run records for Record/Period seconds, and at its end
// the file dialog asks where the run goes. The dialog is the only reader of
// the serial link.
//
//     MeasurementDialogData result;
//     DoModal(new CMsDlg({&chooseMeasurementFile, &runOptions}), &result, L"Speed", frame);
//     switch (result.runOutcome) ...   // 0 nothing to open, else Record/ResumeMode
#include <windows.h>

#include <cstdint>
#include <string>

#include "BigText.h"
#include "Dlg.h"
#include "Gauge.h"
#include "Indicator.h"
#include "MeasurementRun.h"
#include "RectGauge.h"
#include "RecoveryFile.h"

// The file dialog for measurement files, as the application provides it:
// owner, flags (bit 0 set: open, clear: save; bit 1: propose the next file
// number). Answers 1 when the operator chose a file, which is then
// Desktop/LastFile.
using MeasurementFileChooser = int (*)(HWND owner, int flags);

// The options dialog behind "Einstellen...", as the application provides
// it: runs modally over `owner` and answers IDOK or IDCANCEL; afterwards the
// serial link is open again on Hardware/ComPort, whatever the answer.
using OptionsCommand = INT_PTR (*)(HWND owner);

// What the dialog is handed by the application; an empty entry makes its
// command do nothing (a run is then dropped at its end). A finished run
// sits in the recovery file until it is saved or dropped (none kept when
// the path is empty).
struct MeasurementDialogServices {
    MeasurementFileChooser chooseFile = nullptr;
    OptionsCommand runOptions = nullptr;
    std::wstring recoveryFile;
};

// The dialog's data record: what the main frame opens once the dialog has
// closed. 0 nothing, else the Record/ResumeMode in force when the run was
// saved (1 a new diagram window, 2 the active one). Reset when the dialog
// opens.
struct MeasurementDialogData {
    int runOutcome = 0;
};

class CMsDlg : public CDlg {
public:
    static constexpr UINT_PTR kTimer = 1;
    static constexpr UINT kTimerPeriodMs = 100;

    explicit CMsDlg(MeasurementDialogServices services);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    // One tick of timer 1: speeds, ratio display, slip lamp, drain,
    // transmission lamp, instruments, progress; then the end of a run that
    // the drain brought.
    void Tick();

    // The instruments, owned by their windows (null before the dialog opens).
    CIndicator* slipLamp = nullptr;
    CIndicator* transmissionLamp = nullptr;
    CGauge* speedGauge = nullptr;
    CRectGauge* afBar = nullptr;
    CRectGauge* gasBar = nullptr;
    CGauge* rpmGauge = nullptr;
    CBigText* ratioText = nullptr;

    MeasurementRun run;

private:
    void OnOpen();
    void OnClose();
    void PlaceInstruments();
    void OnDeviceList();
    void ShowDevice(int index);
    void OnStartStop();
    void BeginWaitingWhenConfigured();
    RunState ShownRunState() const;
    void OnOptions();
    // Button text, status line and the two buttons for the run state.
    void ShowState();
    void UpdateTransmissionLamp();
    void FollowLine();
    void TakeUpNewLine();
    void ShowProgress(int32_t percent);
    void FinishRun(MeasurementRun::Ending ending);
    void SaveRun();
    bool WriteWhereChosen(const MeasurementRun::Header& header);
    void SetRunOutcome(int outcome);

    MeasurementDialogServices services_;
    RecoveryFile recovery_;
    bool startRequested_ = false;  // "Start" pressed, the controller not yet configured
    int shownState_ = -1;
    bool shownLost_ = false;
    // frames the last run did not take as they came, shown in the idle
    // status line until the next "Start" (-1: the run had a clean line)
    int32_t lineNote_ = -1;
    uint32_t lineOpenings_ = 0;  // the link's openings when its line was last taken up
    int32_t shownProgress_ = -1;
};
