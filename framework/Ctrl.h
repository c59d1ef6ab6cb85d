#pragma once
// Objects for the platform's controls (static, button). They add no data;
// binding one subclasses the control so that its messages reach the object.
#include "Wnd.h"

class CCtrl : public CWnd {};

class CStatic : public CCtrl {};

class CButton : public CCtrl {};
