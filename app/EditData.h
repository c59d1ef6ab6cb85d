#pragma once
// "Daten ändern" ("EDITDATA"): the header values of the measurements of one
// diagram window. The dialog works on copies (fields 1-8 and the comment of
// each measurement); the measurements change only on OK, and only those whose
// values really differ are marked modified.
#include <string>
#include <vector>

#include "Dlg.h"
#include "Measurement.h"
#include "resource.h"

class EvaluationCursor;

class CEditData : public CDlg {
public:
    // The measurements and the cursor are the diagram window's; both outlive
    // the dialog.
    CEditData(std::vector<Measurement*> measurements, EvaluationCursor& cursor);

    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;

    // The selected copy into the controls, and back.
    void ShowCopy();
    void ReadCopy();
    // "Ermitteln...": the gear ratio of the selected copy from an engine
    // speed at a known road speed.
    void DetermineGear();
    // OK: every copy back into its measurement.
    void CommitCopies();

    std::vector<MeasurementHeader> copies;  // one per measurement, in the window's order
    int selection = 0;                      // the copy the controls show

private:
    struct FieldText {
        int id;
        std::wstring text;  // as the control showed it right after ShowCopy
    };

    void ExchangeCopy(ExchangeOp op, MeasurementHeader& copy);
    void SelectionChanged();
    std::wstring ControlText(int id) const;

    std::vector<Measurement*> measurements_;
    EvaluationCursor& cursor_;
    FieldText shown_[7] = {{IDC_COMMENT, {}}, {IDC_TEMPERATURE, {}}, {IDC_PRESSURE, {}}, {IDC_HUMIDITY, {}},
                          {IDC_GEAR, {}},    {IDC_INERTIA, {}},     {IDC_WHEEL, {}}};
};

// Runs the dialog on the measurements in a diagram window's slots (empty
// slots hold null and are left out); the cursor is the window's, used for the
// gear ratio. Answers IDOK or IDCANCEL (IDCANCEL at once without any
// measurement). After IDOK the caller re-evaluates and redraws.
INT_PTR runEditData(HWND owner, Measurement* const* slots, int slotCount, EvaluationCursor& cursor);
