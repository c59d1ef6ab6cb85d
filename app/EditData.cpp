#include "EditData.h"

#include "CalcGear.h"
#include "EvaluationCursor.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

CEditData::CEditData(std::vector<Measurement*> measurements, EvaluationCursor& cursor)
    : measurements_(std::move(measurements)), cursor_(cursor) {
    for (const Measurement* m : measurements_) copies.push_back(copyHeader(*m));
}

void CEditData::OnInitDialog() {
    CDlg::OnInitDialog();
    HWND list = GetDlgItem(hwnd, IDC_FILE_LIST);
    for (const Measurement* m : measurements_)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m->fileName.c_str()));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    selection = 0;
    ShowCopy();
}

int CEditData::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == IDC_FILE_LIST && code == CBN_SELCHANGE) {
        SelectionChanged();
        return 1;
    }
    if (id == IDC_CALC_GEAR && code == BN_CLICKED) {
        DetermineGear();
        return 1;
    }
    if (id == IDOK) CommitCopies();  // no validation: OK always closes
    return CDlg::OnCommand(message, wParam, lParam);
}

// Integers show as unsigned 16-bit values (the temperature signed) and read
// back as signed numbers truncated to 16 bits; reals in the program's double
// format. The sample count and the time of recording are not the user's to
// change.
void CEditData::ExchangeCopy(ExchangeOp op, MeasurementHeader& copy) {
    ExchangeText(op, this, &copy.comment, IDC_COMMENT);
    ExchangeSignedInteger(op, this, &copy.temperature, IDC_TEMPERATURE);
    ExchangeInteger(op, this, &copy.pressure, IDC_PRESSURE);
    ExchangeInteger(op, this, &copy.humidity, IDC_HUMIDITY);
    ExchangeReal(op, this, &copy.gearRatio, IDC_GEAR);
    ExchangeReal(op, this, &copy.inertia, IDC_INERTIA);
    ExchangeReal(op, this, &copy.circumference, IDC_WHEEL);
}

void CEditData::ShowCopy() {
    if (selection < 0 || selection >= static_cast<int>(copies.size())) return;
    ExchangeCopy(kExchangeLoad, copies[selection]);
    for (FieldText& field : shown_) field.text = ControlText(field.id);
    // the roller's mechanics are a supervisor's matter
    bool advanced = theSettings().supervisorAdvancedEditing == 1;
    EnableWindow(GetDlgItem(hwnd, IDC_INERTIA), advanced);
    EnableWindow(GetDlgItem(hwnd, IDC_WHEEL), advanced);
}

// A field the user left as it was shown keeps its value: a gear ratio of 17
// digits shows with 6, and reading those back would change the measurement
// (and mark it modified) without anyone having touched it.
void CEditData::ReadCopy() {
    if (selection < 0 || selection >= static_cast<int>(copies.size())) return;
    MeasurementHeader edited = copies[selection];
    ExchangeCopy(kExchangeStore, edited);
    MeasurementHeader& copy = copies[selection];
    auto changed = [this](int id) {
        for (const FieldText& field : shown_)
            if (field.id == id) return field.text != ControlText(id);
        return true;
    };
    if (changed(IDC_COMMENT)) copy.comment = edited.comment;
    if (changed(IDC_TEMPERATURE)) copy.temperature = edited.temperature;
    if (changed(IDC_PRESSURE)) copy.pressure = edited.pressure;
    if (changed(IDC_HUMIDITY)) copy.humidity = edited.humidity;
    if (changed(IDC_GEAR)) copy.gearRatio = edited.gearRatio;
    if (changed(IDC_INERTIA)) copy.inertia = edited.inertia;
    if (changed(IDC_WHEEL)) copy.circumference = edited.circumference;
}

std::wstring CEditData::ControlText(int id) const {
    HWND control = GetDlgItem(hwnd, id);
    int length = control ? GetWindowTextLengthW(control) : 0;
    std::wstring text(length + 1, L'\0');
    int read = control ? GetWindowTextW(control, &text[0], length + 1) : 0;
    text.resize(read > 0 ? read : 0);
    return text;
}

void CEditData::SelectionChanged() {
    ReadCopy();
    LRESULT chosen = SendDlgItemMessageW(hwnd, IDC_FILE_LIST, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR && chosen < static_cast<LRESULT>(copies.size())) selection = static_cast<int>(chosen);
    ShowCopy();
}

// The starting values are the engine and road speed at the measurement's
// engine-speed maximum, as the diagram evaluates it. What the user typed so
// far stays: it is read into the copy first, so that the ratio is taken with
// the circumference the fields show.
void CEditData::DetermineGear() {
    if (selection < 0 || selection >= static_cast<int>(copies.size())) return;
    ReadCopy();
    Measurement& m = *measurements_[selection];
    cursor_.rewind(m);
    cursor_.openWindow(m.maxRpmIndex);
    GearReading reading;
    reading.engineSpeed = cursor_.quantityValue(kQuantityEngineSpeed, m.maxRpmIndex);
    reading.roadSpeed = cursor_.quantityValue(kQuantitySpeed, m.maxRpmIndex) / 10.0;
    if (runCalcGear(hwnd, reading) != IDOK) return;
    MeasurementHeader& copy = copies[selection];
    if (reading.roadSpeed > kLowestGearSpeed) {
        copy.gearRatio = gearRatioFromSpeeds(reading.engineSpeed, reading.roadSpeed, copy.circumference);
        ShowCopy();
    } else {
        MessageBoxW(hwnd, LoadText(IDS_NO_GEAR_RATIO), LoadText(IDS_ERROR), MB_OK | MB_ICONERROR);
    }
}

void CEditData::CommitCopies() {
    ReadCopy();
    for (size_t i = 0; i < measurements_.size() && i < copies.size(); ++i) applyHeader(*measurements_[i], copies[i]);
}

INT_PTR runEditData(HWND owner, Measurement* const* slots, int slotCount, EvaluationCursor& cursor) {
    std::vector<Measurement*> measurements;
    for (int i = 0; i < slotCount; ++i)
        if (slots[i]) measurements.push_back(slots[i]);
    if (measurements.empty()) return IDCANCEL;
    return DoModal(new CEditData(std::move(measurements), cursor), nullptr, L"EDITDATA", owner);
}
