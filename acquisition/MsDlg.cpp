#include "MsDlg.h"

#include <commctrl.h>

#include <ctime>
#include <string>
#include <utility>

#include "FrameDecoder.h"
#include "SerialLink.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

namespace {

// Flags of the measurement-file dialog at the end of a run.
constexpr int kSaveNextNumber = 2;  // save, with the file number advanced
constexpr int kSaveSameName = 0;    // save, the name proposed as it stands

// Ranges of the two bars, in the tenths their scales show.
constexpr int32_t kAfMinimum = 100, kAfMaximum = 180;
constexpr int32_t kGasMinimum = 400, kGasMaximum = 1200;

constexpr DWORD kLampHoldMs = 1000;

// When the "Übertragung" lamp may go out again (GetTickCount); it outlives
// the dialog like the receive deadline of the serial link.
DWORD& lampHoldUntil() {
    static DWORD hold = 0;
    return hold;
}

// Tick counts wrap after 49 days; compare them by their difference.
bool notYetPast(DWORD deadline, DWORD now) {
    return static_cast<int32_t>(deadline - now) > 0;
}

// Which instruments a sensor set-up shows, by device-list index.
struct DeviceView {
    bool speedGauge, afBar, gasBar;
    UINT gasLabel;  // 0: the label stays as it is
};

const DeviceView* deviceView(int index) {
    static const DeviceView views[] = {
        {true, false, false, 0},                   // "Geschwind."
        {false, true, true, IDS_GAS},              // "Lambda/Gas"
        {false, true, true, IDS_TEMPERATURE_BAR},  // "Lambda/Temp."
        {false, true, false, 0},                   // "UECO Typ A": the meter has no throttle input
        {false, true, true, IDS_GAS},              // "MTO"
        {false, true, true, IDS_TEMPERATURE_BAR},  // "Dyno WB2 A/F"
        {false, true, true, IDS_TEMPERATURE_BAR},  // "Dyno WB2 (Lambda)"
    };
    if (index < 0 || index >= static_cast<int>(sizeof views / sizeof views[0])) return nullptr;
    return &views[index];
}

void Show(CWnd* instrument, bool shown) {
    if (instrument && instrument->hwnd) ShowWindow(instrument->hwnd, shown ? SW_SHOW : SW_HIDE);
}

std::wstring Text(UINT id) {
    return LoadText(id);
}

// A text with the port of the serial link in place of its %d.
std::wstring PortText(UINT id) {
    wchar_t text[512];
    wsprintfW(text, LoadText(id), static_cast<int>(theSerialLink().wantedPort()));
    return text;
}

}  // namespace

CMsDlg::CMsDlg(MeasurementDialogServices services)
    : run(theLiveValues(), theSettings(), theGearEstimate()),
      services_(std::move(services)),
      recovery_(services_.recoveryFile) {
    // the template's progress bar is a common control
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
}

LRESULT CMsDlg::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        LRESULT result = CDlg::WndProc(message, wParam, lParam);
        OnOpen();
        return result;
    }
    case WM_TIMER:
        if (wParam != kTimer) break;
        Tick();
        return 0;
    case WM_DESTROY:
        OnClose();
        break;
    }
    return CDlg::WndProc(message, wParam, lParam);
}

void CMsDlg::OnOpen() {
    HWND list = GetDlgItem(hwnd, IDC_DEVICE_LIST);
    const std::wstring choices = Text(IDS_DEVICE_CHOICES);
    for (size_t start = 0; start <= choices.size();) {
        size_t end = choices.find(L'|', start);
        if (end == std::wstring::npos) end = choices.size();
        const std::wstring item = choices.substr(start, end - start);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        start = end + 1;
    }
    theFrameDecoder().resetDeviceSelection();
    theFrameDecoder().dropPartialFrame();
    SetRunOutcome(0);

    PlaceInstruments();
    run.enterIdle();
    ShowState();
    run.allocate();
    FrameDecoder& decoder = theFrameDecoder();
    decoder.setCommandWriter(&theSerialLink());
    decoder.setRun(&run, &run);

    SetTimer(hwnd, kTimer, kTimerPeriodMs, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    // device type 0 is applied like a choice of the operator's
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DEVICE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    theSerialLink().setReceiveDeadline(GetTickCount() + 1000);
    lineOpenings_ = theSerialLink().openings();
}

// The instruments take the places, ids and texts of their placeholders; the
// ratio display keeps its static and only gets its font.
void CMsDlg::PlaceInstruments() {
    const Settings& s = theSettings();
    ratioText = new CBigText;
    ratioText->Attach(GetDlgItem(hwnd, IDC_RATIO_TEXT));

    rpmGauge = new CGauge;
    rpmGauge->labelFontHeight = 18;
    rpmGauge->valueFontHeight = 20;
    rpmGauge = static_cast<CGauge*>(ReplacePlaceholder(GetDlgItem(hwnd, IDC_RPM_GAUGE), rpmGauge, s.rpmMin, s.rpmMax));

    speedGauge = new CGauge;
    speedGauge->labelFontHeight = 18;
    speedGauge->valueFontHeight = 20;
    speedGauge = static_cast<CGauge*>(
        ReplacePlaceholder(GetDlgItem(hwnd, IDC_SPEED_GAUGE), speedGauge, s.speedMin, s.speedMax));

    afBar = new CRectGauge;
    afBar->labelFontHeight = 14;
    afBar->valueFontHeight = 17;
    afBar->style = 1;
    afBar = static_cast<CRectGauge*>(ReplacePlaceholder(GetDlgItem(hwnd, IDC_AF_BAR), afBar, kAfMinimum, kAfMaximum));

    gasBar = new CRectGauge;
    gasBar->labelFontHeight = 14;
    gasBar->valueFontHeight = 17;
    gasBar->style = 2;
    gasBar = static_cast<CRectGauge*>(
        ReplacePlaceholder(GetDlgItem(hwnd, IDC_GAS_BAR), gasBar, kGasMinimum, kGasMaximum));

    slipLamp = static_cast<CIndicator*>(ReplacePlaceholder(GetDlgItem(hwnd, IDC_SLIP_LAMP), new CIndicator, 0, 1));
    transmissionLamp = static_cast<CIndicator*>(
        ReplacePlaceholder(GetDlgItem(hwnd, IDC_TRANSMISSION_LAMP), new CIndicator, 0, 1));
}

// Closing drops a run in progress and gives the recording buffers back.
void CMsDlg::OnClose() {
    KillTimer(hwnd, kTimer);
    run.enterIdle();
    run.release();
    theFrameDecoder().setRun(nullptr, nullptr);
    // the instruments go with their windows right after this one
    slipLamp = transmissionLamp = nullptr;
    speedGauge = rpmGauge = nullptr;
    afBar = gasBar = nullptr;
    ratioText = nullptr;
}

int CMsDlg::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_DEVICE_LIST:
        OnDeviceList();
        return 1;
    case IDC_START:
        OnStartStop();
        return 1;
    case ID_OPTIONS:
        OnOptions();
        return 1;
    case IDOK:
        // the Return key sends it even while "Schließen" is disabled during
        // a run; only the cancel command may drop a run
        if (!IsWindowEnabled(GetDlgItem(hwnd, IDOK))) return 1;
        break;
    }
    return CDlg::OnCommand(message, wParam, lParam);
}

void CMsDlg::OnDeviceList() {
    const int index = static_cast<int>(SendDlgItemMessageW(hwnd, IDC_DEVICE_LIST, CB_GETCURSEL, 0, 0));
    if (index == theLiveValues().deviceType) return;
    theFrameDecoder().selectDevice(index);
    ShowDevice(index);
}

// The engine-speed gauge stays visible with every set-up.
void CMsDlg::ShowDevice(int index) {
    const DeviceView* view = deviceView(index);
    if (!view) return;
    Show(speedGauge, view->speedGauge);
    Show(afBar, view->afBar);
    Show(gasBar, view->gasBar);
    if (view->gasLabel && gasBar) {
        const std::wstring label = Text(view->gasLabel);
        if (gasBar->Caption() != label) SetWindowTextW(gasBar->hwnd, label.c_str());
    }
}

// A controller that has not yet answered the last configuration command
// would change its configuration under the run (commands go out only while
// the run is idle, and one in flight still lands): "Start" then waits until
// a status frame shows the configuration in force.
void CMsDlg::OnStartStop() {
    if (run.runState() == RunState::Idle && !startRequested_) {
        startRequested_ = true;
        BeginWaitingWhenConfigured();
    } else {
        startRequested_ = false;
        run.enterIdle();  // a run in progress is dropped
    }
    ShowState();
    ShowProgress(run.progress());
}

void CMsDlg::BeginWaitingWhenConfigured() {
    if (!startRequested_ || !theLiveValues().statusSeen) return;
    startRequested_ = false;
    lineNote_ = -1;
    run.startWaiting();
}

RunState CMsDlg::ShownRunState() const {
    return startRequested_ ? RunState::Waiting : run.runState();
}

void CMsDlg::OnOptions() {
    // the options close and reopen the serial link, whatever their answer
    if (!services_.runOptions || services_.runOptions(hwnd) != IDOK) return;
    const Settings& s = theSettings();
    if (speedGauge) speedGauge->SetRange(s.speedMin, s.speedMax);
    if (rpmGauge) rpmGauge->SetRange(s.rpmMin, s.rpmMax);
}

void CMsDlg::ShowState() {
    const RunState state = ShownRunState();
    const bool lost = theSerialLink().lost();
    if (static_cast<int>(state) == shownState_ && lost == shownLost_) return;
    shownState_ = static_cast<int>(state);
    shownLost_ = lost;
    const bool idle = state == RunState::Idle;
    switch (state) {
    case RunState::Idle:
        SetDlgItemTextW(hwnd, IDC_START, LoadText(IDS_START));
        if (lineNote_ >= 0) {
            // the operator learns of a noisy line without a box at every run
            wchar_t note[256];
            wsprintfW(note, LoadText(IDS_LINE_DISTURBED), static_cast<int>(lineNote_));
            SetDlgItemTextW(hwnd, IDC_STATUS_LINE, note);
        } else {
            SetDlgItemTextW(hwnd, IDC_STATUS_LINE, LoadText(IDS_WAIT_START_BUTTON));
        }
        break;
    case RunState::Waiting:
        SetDlgItemTextW(hwnd, IDC_START, LoadText(IDS_STOP));
        SetDlgItemTextW(hwnd, IDC_STATUS_LINE,
                        LoadText(theSettings().recordStartMode == 0 ? IDS_WAIT_RPM : IDS_WAIT_SPEED));
        break;
    case RunState::Recording:
        SetDlgItemTextW(hwnd, IDC_STATUS_LINE, L"");
        break;
    }
    // without its port the dialog only waits for it ("Start" comes back with it)
    if (lost) SetDlgItemTextW(hwnd, IDC_STATUS_LINE, PortText(IDS_PORT_UNAVAILABLE).c_str());
    // a disabled button must not keep the keyboard focus, or the keys die
    HWND focus = GetFocus();
    EnableWindow(GetDlgItem(hwnd, IDOK), idle);
    EnableWindow(GetDlgItem(hwnd, ID_OPTIONS), idle);
    EnableWindow(GetDlgItem(hwnd, IDC_START), !lost);
    if (!idle && (focus == GetDlgItem(hwnd, IDOK) || focus == GetDlgItem(hwnd, ID_OPTIONS)))
        SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_START)), TRUE);
    if (lost && focus == GetDlgItem(hwnd, IDC_START))
        SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDOK)), TRUE);
}

void CMsDlg::Tick() {
    const Settings& s = theSettings();
    const LiveValues& live = theLiveValues();
    const int32_t engineSpeed = live.engineSpeed();
    const int32_t rollerSpeed = live.rollerSpeed(s.mechanicsWheel);
    if (ratioText) SetWindowTextW(ratioText->hwnd, gearRatioText(s.recordGear).c_str());
    if (slipLamp) slipLamp->SetValue(run.slipping() ? 1 : 0);
    theSerialLink().drain(theFrameDecoder());
    FollowLine();
    BeginWaitingWhenConfigured();
    UpdateTransmissionLamp();
    if (speedGauge) speedGauge->SetValue(rollerSpeed);
    if (rpmGauge) rpmGauge->SetValue(engineSpeed);
    if (gasBar) gasBar->SetValue(live.gasDisplayValue());
    if (afBar) afBar->SetValue(live.afDisplayValue());
    ShowProgress(run.progress());

    // the drain may have started, ended or abandoned a run
    ShowState();
    FinishRun(run.takeEnding());
}

// A lost port ends a run in progress (what it recorded may still be saved);
// no message at every try to open it again, the status line says it. A
// line that is back, or another one after the options, is taken up as when
// the dialog opens.
void CMsDlg::FollowLine() {
    const SerialLink& link = theSerialLink();
    if (link.lost()) {
        startRequested_ = false;
        run.lineLost();
        return;
    }
    if (link.openings() == lineOpenings_) return;
    lineOpenings_ = link.openings();
    TakeUpNewLine();
}

// The controller at the other end may have been powered off meanwhile: it
// is configured again by the status frames' rules, and "Start" waits for
// its confirmation.
void CMsDlg::TakeUpNewLine() {
    FrameDecoder& decoder = theFrameDecoder();
    decoder.dropPartialFrame();
    theLiveValues().statusSeen = false;
    decoder.resetDeviceSelection();
    OnDeviceList();
    theSerialLink().setReceiveDeadline(GetTickCount() + 1000);
}

// Lit when no byte has arrived for a second or a command is still
// unanswered, and then for at least a second.
void CMsDlg::UpdateTransmissionLamp() {
    if (!transmissionLamp) return;
    const DWORD now = GetTickCount();
    DWORD& hold = lampHoldUntil();
    if (notYetPast(theSerialLink().receiveDeadline(), now) && theLiveValues().statusSeen) {
        if (!notYetPast(hold, now)) transmissionLamp->SetValue(0);
    } else {
        transmissionLamp->SetValue(1);
        hold = now + kLampHoldMs;
    }
}

void CMsDlg::ShowProgress(int32_t percent) {
    if (percent == shownProgress_) return;
    shownProgress_ = percent;
    SendDlgItemMessageW(hwnd, IDC_RUN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void CMsDlg::FinishRun(MeasurementRun::Ending ending) {
    if ((ending == MeasurementRun::Ending::Complete || ending == MeasurementRun::Ending::LineLost) &&
        (run.rejectedFrames() > 0 || run.restoredRevolutions() > 0)) {
        lineNote_ = run.rejectedFrames();
        shownState_ = -1;
        ShowState();
    }
    switch (ending) {
    case MeasurementRun::Ending::None:
        return;
    case MeasurementRun::Ending::TooManySamples:
        MessageBoxW(hwnd, Text(IDS_TOO_MANY_SAMPLES).c_str(), Text(IDS_ERROR).c_str(), MB_OK | MB_ICONWARNING);
        return;
    case MeasurementRun::Ending::Complete:
        SaveRun();
        return;
    case MeasurementRun::Ending::LineLost:
        MessageBoxW(hwnd, PortText(IDS_RUN_LINE_LOST).c_str(), Text(IDS_ERROR).c_str(), MB_OK | MB_ICONWARNING);
        SaveRun();
        return;
    }
}

// The timer goes on while the file dialog is open: its ticks keep draining
// the link, and the run, idle by now, ignores what arrives. Until the
// operator has saved or dropped the run it also sits in the recovery file.
void CMsDlg::SaveRun() {
    const MeasurementRun::Header header = run.currentHeader();
    // a folder that takes no file leaves only the save, as without one
    recovery_.keep(run, header, static_cast<int32_t>(std::time(nullptr)));
    const bool saved = WriteWhereChosen(header);
    recovery_.drop();
    if (!saved) return;
    const Settings& s = theSettings();
    SetRunOutcome(s.recordResumeMode);
    if (s.recordResumeMode > 0) SendMessageW(hwnd, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
}

// Answers whether the run was written; false when the operator dropped it.
bool CMsDlg::WriteWhereChosen(const MeasurementRun::Header& header) {
    Settings& s = theSettings();
    const std::wstring lastSaved = s.desktopLastFile;
    int flags = kSaveNextNumber;
    bool failed = false;
    for (;;) {
        if (!services_.chooseFile || services_.chooseFile(hwnd, flags) != 1) {
            // dropped; the next run proposes a name after the last file that was written
            if (failed) s.desktopLastFile = lastSaved;
            return false;
        }
        const std::wstring path = s.desktopLastFile;
        if (run.write(path, static_cast<int32_t>(std::time(nullptr)), header)) break;
        // the run stays in the buffers: the operator names another file or drops it
        failed = true;
        const std::wstring text = Text(IDS_NOT_SAVED) + L"\n\n" + Text(IDS_SAVE_ELSEWHERE);
        MessageBoxW(hwnd, text.c_str(), path.c_str(), MB_OK | MB_ICONERROR);
        flags = kSaveSameName;
    }
    return true;
}

void CMsDlg::SetRunOutcome(int outcome) {
    if (auto* record = static_cast<MeasurementDialogData*>(data.get())) record->runOutcome = outcome;
}
