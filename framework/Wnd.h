#pragma once
// CWnd: the object bound one-to-one to a native window. The window property
// "AWinThis" leads from the window to its object; the common window procedure
// hands every message to the object's WndProc. Objects live on the heap and
// belong to their window: the window's last message (WM_NCDESTROY) deletes
// the object. A derived WndProc that calls CWnd::WndProc first must therefore
// return at once after WM_NCDESTROY without touching the object.
#include <windows.h>

#include <functional>

class CDC;

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // over-ride these to hook into message processing
    virtual int WantsStatusHelp() { return 1; }               // 0: the frame shows no help for it
    virtual int PreTranslateMessage(MSG* message);             // nonzero: consumed
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual int OnCommand(UINT message, WPARAM wParam, LPARAM lParam);  // nonzero: handled
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Attach(HWND window);                          // bind to an existing window
    virtual ~CWnd();                                           // unbinds
    virtual int Paint(CDC* dc) { (void)dc; return 0; }         // null dc: does the class paint?
    virtual int CanClose() { return 1; }

    // Undo Attach: the previous window procedure back, the property removed.
    void Detach();

    HWND hwnd = nullptr;
    HACCEL accelerators = nullptr;
    WNDPROC previousProc = nullptr;

protected:
    // Runs after the window's last message has been handled: frees the object.
    // Objects that must outlive their window (a platform dialog still writing
    // its record) take over their deletion here.
    virtual void OnFinalMessage() { delete this; }

private:
    LRESULT OnPaintMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnLastMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT RouteCommand(UINT message, WPARAM wParam, LPARAM lParam);
};

// The object bound to a window, or null (also for a null handle).
CWnd* ObjectFromWindow(HWND window);

// The window procedure installed on every bound window.
LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creation hook: the next window created on this thread binds to `object`
// during its creation (at WM_GETMINMAXINFO or WM_NCCREATE), so the object
// sees its window's first message. Disarm after the creation call; it answers
// true when the object was not bound (the creation made no window).
void ArmCreationHook(CWnd* object);
bool DisarmCreationHook();

// Creates a window bound to `object` (extended style 0, no creation data).
// The framework owns the object from here on: on failure the answer is null
// and the object is already freed.
CWnd* CreateBoundWindow(CWnd* object, const wchar_t* className, const wchar_t* title, DWORD style,
                        HMENU idOrMenu, HWND parent, int x, int y, int width, int height);

// Window class "WCLS_<style>_<cursor>_<brush>_<icon>" (lower-case hexadecimal),
// registered with DefWindowProc when it does not exist yet, so equal
// parameters share one class. The name stays valid until the next call.
const wchar_t* RegisterWindowClass(HBRUSH background, HCURSOR cursor, HICON icon, UINT classStyle);

// Calls `callback` for every descendant of `parent` (depth first, in Z order).
// Answer bits: kChildStop ends the walk, kChildCount counts the window.
// Without a callback every descendant counts. Answers the count.
constexpr int kChildStop = 1;
constexpr int kChildCount = 2;
int ForEachChild(HWND parent, const std::function<int(HWND child)>& callback);

// The object's CanClose, then that of every descendant window with an object;
// the first 0 refuses.
int CanCloseTree(CWnd* object);
