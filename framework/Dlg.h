#pragma once
// CDlg: a dialog from a template, modal or modeless, with data exchange
// between its controls and the caller's plain data record. OK validates the
// controls' values on a scratch record first; the caller's record receives
// them only when they are valid.
#include "DataExchange.h"
#include "Wnd.h"

enum DialogMode {
    kModalDialog = 0,
    kModelessDialog = 1,
    kToolWindowDialog = 2,  // a child inside the frame, such as the tool bar
    kCommonDialog = 3,      // a platform dialog (printer)
};

// The caller's data record of a dialog, typed at the call so that OK can make
// a fresh scratch record of the same type to validate.
class DataRecord {
public:
    DataRecord() = default;
    DataRecord(std::nullptr_t) {}
    template <class T>
    DataRecord(T* record)
        : record_(record),
          newScratch_([]() -> void* { return new T(); }),
          deleteScratch_([](void* scratch) { delete static_cast<T*>(scratch); }) {}

    void* get() const { return record_; }
    explicit operator bool() const { return record_ != nullptr; }
    void* NewScratch() const { return newScratch_ ? newScratch_() : nullptr; }
    void DeleteScratch(void* scratch) const {
        if (deleteScratch_) deleteScratch_(scratch);
    }

private:
    void* record_ = nullptr;
    void* (*newScratch_)() = nullptr;
    void (*deleteScratch_)(void*) = nullptr;
};

class CDlg : public CWnd {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int PreTranslateMessage(MSG* message) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    ~CDlg() override;

    // over-ride these for the dialog's own controls and data
    virtual int PrepareControl(HWND child);                  // "@NAME" texts become icons; 1: done
    virtual void FocusControl(int controlId);
    virtual size_t Exchange(ExchangeOp op, void* record);     // field exchangers in record order
    virtual int Validate(void* record);                       // 0 valid, else the control to focus
    virtual int CommitData();                                 // validate and store; 0 or the control
    virtual void OnInitDialog();                              // loads `data` into the controls

    DataRecord data;
    int mode = kModalDialog;
    HFONT dialogFont = nullptr;  // normal-weight copy of the dialog's font

private:
    void CentreOnDesktop();
    void OnInitDialogMessage();
};

// Runs the dialog `templateName` modally over `data` (a pointer to the
// caller's record, or nullptr) and answers the command id that ended it (-1
// when the template could not be shown). The dialog object belongs to its
// window and no longer exists when DoModal returns; results are in `data`.
INT_PTR DoModal(CDlg* dialog, DataRecord data, const wchar_t* templateName, HWND parent);

// Creates a modeless dialog (mode kModelessDialog or kToolWindowDialog)
// without data record. The object lives until its window is destroyed; on
// failure the answer is null and the object is already freed.
CDlg* CreateModeless(int mode, CDlg* dialog, const wchar_t* templateName, HWND parent);
